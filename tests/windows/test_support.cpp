#include "tests/windows/test_support.h"

std::wstring ExeDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

LoadedPlugin::LoadedPlugin() : module_(LoadLibraryW((ExeDirectory() + L"dravik.wlx64").c_str())) {}

LoadedPlugin::~LoadedPlugin() {
  if (module_ != nullptr) {
    FreeLibrary(module_);
  }
}
