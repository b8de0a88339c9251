// The Lister's keys as this host plays them, by the names a user reads
// ("Ctrl+C", "Shift+F3"): the keys the Lister takes itself, and those it
// passes to the list window, as it passes every key it has no use for to the
// plugin.
#pragma once

#include <windows.h>

#include <string>

struct ListerKey {
  const wchar_t* name;
  UINT key;
  bool ctrl, shift;
};

extern const ListerKey ListerKeys[];
extern const size_t ListerKeyCount;

// The key a script names: one of the table's, in any letter case, or any
// other Ctrl and a letter (passed to the list window); false for none.
bool FindListerKey(const std::wstring& name, ListerKey* key);
