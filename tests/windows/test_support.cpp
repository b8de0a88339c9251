#include "tests/windows/test_support.h"

#include <string.h>

namespace {

// A load shows what a run gives within this wait as it always did, and the
// tests read the text right after a load: they wait as long as a run may take,
// unless a test sets its own (the lister.exe they start inherits it).
const bool LongLoadWait = [] {
  if (GetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", nullptr, 0) == 0) {
    SetEnvironmentVariableW(L"DRAVIK_LOAD_WAIT_MS", L"120000");
  }
  return true;
}();

}  // namespace

std::string ToUtf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], n);
  return out;
}

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
