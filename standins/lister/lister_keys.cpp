#include "standins/lister/lister_keys.h"

#include <wctype.h>

const ListerKey ListerKeys[] = {
    {L"Ctrl+C", 'C', true, false},       {L"Ctrl+A", 'A', true, false},
    {L"Ctrl+P", 'P', true, false},       {L"F7", VK_F7, false, false},
    {L"F3", VK_F3, false, false},        {L"Shift+F3", VK_F3, false, true},
    {L"N", 'N', false, false},           {L"P", 'P', false, false},
    {L"T", 'T', false, false},           {L"Esc", VK_ESCAPE, false, false},
    {L"Shift+F10", VK_F10, false, true},
};
const size_t ListerKeyCount = sizeof ListerKeys / sizeof ListerKeys[0];

namespace {

std::wstring Lower(const std::wstring& text) {
  std::wstring lower = text;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  return lower;
}

}  // namespace

bool FindListerKey(const std::wstring& name, ListerKey* key) {
  const std::wstring wanted = Lower(name);
  for (const ListerKey& known : ListerKeys) {
    if (Lower(known.name) == wanted) {
      *key = known;
      return true;
    }
  }
  if (wanted.size() == 6 && wanted.compare(0, 5, L"ctrl+") == 0 && iswlower(wanted[5])) {
    *key = {L"", static_cast<UINT>(towupper(wanted[5])), true, false};
    return true;
  }
  return false;
}
