// ListLoadW: not built yet; reports that it cannot show the file.
#include "plugin/listplug.h"
#include "plugin/module_state.h"

HWND __stdcall ListLoadW(HWND /*ParentWin*/, WCHAR* /*FileToLoad*/, int /*ShowFlags*/) {
  return nullptr;
}

HWND __stdcall ListLoad(HWND ParentWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[AnsiToWideChars];
  return ListLoadW(ParentWin, AnsiToWide(FileToLoad, wide), ShowFlags);
}
