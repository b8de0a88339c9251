#include "standins/lister/watchdog.h"

#include <string>
#include <vector>

#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/lister/list_pick.h"

namespace {

const wchar_t kOwnDialogProperty[] = L"DravikListerOwnDialog";
const int kPrinterComboId = 0x473;  // the print dialog's printer name list (cmb4)

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") != 0) return TRUE;
  std::wstring text = TextOf(child);
  auto* all = reinterpret_cast<std::wstring*>(param);
  if (!text.empty()) *all += (all->empty() ? L"" : L" ") + text;
  return TRUE;
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (wcscmp(cls, L"#32770") != 0 || GetPropW(window, kOwnDialogProperty) != nullptr) return TRUE;
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// Presses the button the script asks for; logs a dialog the first time it is seen.
void Answer(HWND dialog, std::vector<HWND>* seen) {
  bool first = true;
  for (HWND h : *seen) first = first && h != dialog;
  if (first) seen->push_back(dialog);

  bool print_dialog = GetDlgItem(dialog, kPrinterComboId) != nullptr;
  int button = IDCANCEL;
  const char* name = "cancel";
  if (print_dialog) {
    if (CurrentPrintDialogMode() == PrintDialogMode::kRealAccept) {
      button = IDOK;
      name = "ok";
    }
  } else {
    // A message box: the first of OK, Cancel, No that it has.
    static const int kButtons[] = {IDOK, IDCANCEL, IDNO};
    static const char* const kNames[] = {"ok", "cancel", "no"};
    for (int i = 0; i < 3; ++i) {
      if (GetDlgItem(dialog, kButtons[i]) != nullptr) {
        button = kButtons[i];
        name = kNames[i];
        break;
      }
    }
  }
  if (first) {
    if (print_dialog) {
      LogLine("watchdog print dialog %s -> %s", Quoted(TextOf(dialog)).c_str(), name);
    } else {
      std::wstring text;
      EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
      LogLine("watchdog message box %s %s -> %s", Quoted(TextOf(dialog)).c_str(),
              Quoted(text).c_str(), name);
    }
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

}  // namespace

void MarkOwnDialog(HWND dialog) { SetPropW(dialog, kOwnDialogProperty, dialog); }

Watchdog::Watchdog()
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr)) {}

Watchdog::~Watchdog() {
  SetEvent(stop_);
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  CloseHandle(stop_);
}

DWORD WINAPI Watchdog::Run(void* self) {
  auto* watchdog = static_cast<Watchdog*>(self);
  std::vector<HWND> seen;
  // A dialog that is still there after an answer gets the answer again, every
  // 100 ms; it is logged once.
  while (WaitForSingleObject(watchdog->stop_, 100) == WAIT_TIMEOUT) {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
      // A list is answered once, as the script says; it goes away then.
      bool answered = false;
      for (HWND h : seen) answered = answered || h == dialog;
      bool print_dialog = GetDlgItem(dialog, kPrinterComboId) != nullptr;
      if (answered || print_dialog || !AnswerListDialog(dialog)) {
        Answer(dialog, &seen);
      } else {
        seen.push_back(dialog);
      }
    }
  }
  return 0;
}
