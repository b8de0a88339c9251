#include "standins/lister/list_pick.h"

#include "standins/lister/host_log.h"

namespace {

CRITICAL_SECTION* Lock() {
  static CRITICAL_SECTION lock;
  static bool ready = [] {
    InitializeCriticalSection(&lock);
    return true;
  }();
  (void)ready;
  return &lock;
}

std::wstring g_item;
bool g_waiting = false;

BOOL CALLBACK FindListBox(HWND child, LPARAM param) {
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  if (_wcsicmp(cls, L"ListBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

}  // namespace

void SetListPick(const std::wstring& item) {
  EnterCriticalSection(Lock());
  g_item = item;
  g_waiting = true;
  LeaveCriticalSection(Lock());
}

bool TakeListPick(std::wstring* item) {
  EnterCriticalSection(Lock());
  bool waiting = g_waiting;
  if (waiting) *item = g_item;
  g_waiting = false;
  LeaveCriticalSection(Lock());
  return waiting;
}

bool AnswerListDialog(HWND dialog) {
  HWND list = nullptr;
  EnumChildWindows(dialog, FindListBox, reinterpret_cast<LPARAM>(&list));
  if (list == nullptr) return false;
  std::wstring item;
  LRESULT row = LB_ERR;
  if (TakeListPick(&item)) {
    row = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(item.c_str()));
    LogLine("watchdog list %s %s -> %s", Quoted(TitleOf(dialog)).c_str(), Quoted(item).c_str(),
            row == LB_ERR ? "not found, cancel" : "ok");
  } else {
    LogLine("watchdog list %s -> cancel", Quoted(TitleOf(dialog)).c_str());
  }
  if (row != LB_ERR) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  int button = row != LB_ERR ? IDOK : IDCANCEL;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  return true;
}
