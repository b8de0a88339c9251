#include "tests/windows/test_support.h"

#include <string.h>

std::wstring ExeDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

LoadedPlugin::LoadedPlugin() : module_(LoadLibraryW((ExeDirectory() + kPluginFile).c_str())) {}

LoadedPlugin::~LoadedPlugin() {
  if (module_ != nullptr) {
    FreeLibrary(module_);
  }
}

CHARFORMAT2A ReadCharFormatAt(HWND control, int position) {
  CHARRANGE one = {position, position + 1};
  SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
  CHARFORMAT2A format;
  memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}
