#include "tests/windows/test_support.h"

#include <process.h>
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

MemberListAnswer::MemberListAnswer(const std::wstring& item) : item_(item) {
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Run, this, 0, nullptr));
}

MemberListAnswer::~MemberListAnswer() {
  WaitForSingleObject(thread_, 10000);
  CloseHandle(thread_);
}

unsigned __stdcall MemberListAnswer::Run(void* self) {
  MemberListAnswer* answer = static_cast<MemberListAnswer*>(self);
  for (int tries = 0; tries < 500; ++tries, Sleep(10)) {
    // This process's own list: another program's may be open on the same desktop.
    HWND dialog = nullptr;
    while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", L"Go to member")) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(dialog, &process);
      if (process == GetCurrentProcessId() && IsWindowVisible(dialog)) break;
    }
    if (dialog == nullptr) continue;
    HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
    LRESULT row = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(answer->item_.c_str()));
    answer->found_ = row != LB_ERR && !answer->item_.empty();
    if (answer->found_) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    PostMessageW(dialog, WM_COMMAND, answer->found_ ? IDOK : IDCANCEL, 0);
    return 0;
  }
  return 0;
}
