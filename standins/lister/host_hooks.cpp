#include "standins/lister/host_hooks.h"

#include <commdlg.h>

#include <deque>
#include <vector>

#include "standins/hooks/import_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/png/png_writer.h"

namespace {

struct HookState {
  HWND list = nullptr;
  bool clock_scripted = false;
  DWORD clock_now = 0;
  std::deque<DWORD> clock_readings;  // answered first, one per call
  DWORD clock_step = 0;              // added after every scripted reading
  int platform = -1;
  PrintDialogAnswer print_answer;
  volatile LONG print_mode = static_cast<LONG>(PrintDialogMode::kCancel);
  int paper_width = 794, paper_height = 1123, offset_x = 0, offset_y = 0;
  std::wstring pages_folder;
  // The test printer while a dialog has handed it out.
  HDC printer = nullptr;
  HBITMAP page = nullptr;
  HGDIOBJ previous_bitmap = nullptr;
  int page_number = 0;
};

HookState& State() {
  static HookState state;
  return state;
}

// The functions the hooks replaced, to call through.
decltype(&GetTickCount) RealGetTickCount = &GetTickCount;
decltype(&GetVersionExA) RealGetVersionExA = &GetVersionExA;
decltype(&CreateProcessW) RealCreateProcessW = &CreateProcessW;
decltype(&PrintDlgA) RealPrintDlgA = &PrintDlgA;
decltype(&StartDocA) RealStartDocA = &StartDocA;
decltype(&EndPage) RealEndPage = &EndPage;
decltype(&EndDoc) RealEndDoc = &EndDoc;
decltype(&DeleteDC) RealDeleteDC = &DeleteDC;
decltype(&GetDeviceCaps) RealGetDeviceCaps = &GetDeviceCaps;

std::string WindowName(HWND window) {
  if (window == nullptr) return "null";
  if (window == State().list) return "list";
  char text[32];
  snprintf(text, sizeof text, "%p", static_cast<void*>(window));
  return text;
}

bool IsTestPrinter(HDC dc) { return dc != nullptr && dc == State().printer; }

void ClearPage() {
  HookState& s = State();
  RECT all = {0, 0, s.paper_width, s.paper_height};
  FillRect(s.printer, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void SavePage() {
  HookState& s = State();
  ++s.page_number;
  if (s.pages_folder.empty()) return;
  wchar_t name[32];
  swprintf(name, 32, L"\\page-%d.png", s.page_number);
  std::wstring path = s.pages_folder + name;
  // The bitmap must leave the DC while it is read.
  SelectObject(s.printer, s.previous_bitmap);
  bool written = WriteBitmapPng(s.page, path.c_str());
  s.previous_bitmap = SelectObject(s.printer, s.page);
  LogLine("page %s %s", Quoted(path).c_str(), written ? "written" : "failed");
}

HDC CreateTestPrinter() {
  HookState& s = State();
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = s.paper_width;
  info.bmiHeader.biHeight = -s.paper_height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  s.page = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  s.previous_bitmap = SelectObject(dc, s.page);
  s.printer = dc;
  s.page_number = 0;
  ClearPage();
  return dc;
}

DWORD WINAPI HookedGetTickCount() {
  HookState& s = State();
  DWORD now = RealGetTickCount();
  if (s.clock_scripted) {
    if (!s.clock_readings.empty()) {
      s.clock_now = s.clock_readings.front();
      s.clock_readings.pop_front();
    }
    now = s.clock_now;
    s.clock_now += s.clock_step;
  }
  LogLine("hook GetTickCount -> %lu", now);
  return now;
}

BOOL WINAPI HookedGetVersionExA(LPOSVERSIONINFOA info) {
  BOOL result = RealGetVersionExA(info);
  if (result && info != nullptr && State().platform >= 0) {
    info->dwPlatformId = static_cast<DWORD>(State().platform);
  }
  LogLine("hook GetVersionExA -> %d", result && info ? static_cast<int>(info->dwPlatformId) : -1);
  return result;
}

BOOL WINAPI HookedCreateProcessW(LPCWSTR application, LPWSTR command_line,
                                 LPSECURITY_ATTRIBUTES process_attributes,
                                 LPSECURITY_ATTRIBUTES thread_attributes, BOOL inherit, DWORD flags,
                                 LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                                 LPPROCESS_INFORMATION process) {
  // Logged before the call: the callee may change the command line buffer.
  std::string line = command_line ? Quoted(command_line) : "null";
  std::string dir = directory ? Quoted(directory) : "null";
  BOOL result = RealCreateProcessW(application, command_line, process_attributes, thread_attributes,
                                   inherit, flags, environment, directory, startup, process);
  LogLine("hook CreateProcessW %s %s -> %d", line.c_str(), dir.c_str(), result);
  return result;
}

BOOL WINAPI HookedPrintDlgA(LPPRINTDLGA dialog) {
  HookState& s = State();
  if (dialog == nullptr) return RealPrintDlgA(dialog);
  char asked[200];
  snprintf(asked, sizeof asked,
           "size=%lu owner=%s flags=0x%lx from=%u to=%u min=%u max=%u copies=%u",
           dialog->lStructSize, WindowName(dialog->hwndOwner).c_str(), dialog->Flags,
           dialog->nFromPage, dialog->nToPage, dialog->nMinPage, dialog->nMaxPage, dialog->nCopies);
  BOOL result = FALSE;
  switch (s.print_answer.mode) {
    case PrintDialogMode::kCancel:
      break;
    case PrintDialogMode::kAccept:
      if (s.printer == nullptr) CreateTestPrinter();
      dialog->hDC = s.printer;
      dialog->Flags = (dialog->Flags & ~static_cast<DWORD>(PD_PAGENUMS | PD_SELECTION)) |
                      s.print_answer.extra_flags;
      if (s.print_answer.extra_flags & PD_PAGENUMS) {
        dialog->nFromPage = s.print_answer.from_page;
        dialog->nToPage = s.print_answer.to_page;
      }
      result = TRUE;
      break;
    case PrintDialogMode::kRealAccept:
    case PrintDialogMode::kRealCancel:
      result = RealPrintDlgA(dialog);
      break;
  }
  LogLine("hook PrintDlgA %s -> %d", asked, result);
  return result;
}

int WINAPI HookedStartDocA(HDC dc, const DOCINFOA* doc) {
  int result = IsTestPrinter(dc) ? 1 : RealStartDocA(dc, doc);
  LogLine("hook StartDocA %s -> %d", QuotedAnsi(doc ? doc->lpszDocName : nullptr).c_str(), result);
  return result;
}

int WINAPI HookedEndPage(HDC dc) {
  int result = 1;
  if (IsTestPrinter(dc)) {
    SavePage();
    ClearPage();
  } else {
    result = RealEndPage(dc);
  }
  LogLine("hook EndPage -> %d", result);
  return result;
}

int WINAPI HookedEndDoc(HDC dc) {
  int result = 1;
  if (IsTestPrinter(dc)) {
    SavePage();
  } else {
    result = RealEndDoc(dc);
  }
  LogLine("hook EndDoc -> %d", result);
  return result;
}

BOOL WINAPI HookedDeleteDC(HDC dc) {
  HookState& s = State();
  bool test = IsTestPrinter(dc);
  if (test) {
    SelectObject(dc, s.previous_bitmap);
    DeleteObject(s.page);
    s.page = nullptr;
    s.printer = nullptr;
  }
  BOOL result = RealDeleteDC(dc);
  LogLine("hook DeleteDC%s -> %d", test ? " printer" : "", result);
  return result;
}

int WINAPI HookedGetDeviceCaps(HDC dc, int index) {
  HookState& s = State();
  int result = RealGetDeviceCaps(dc, index);
  if (IsTestPrinter(dc)) {
    switch (index) {
      case PHYSICALWIDTH:
        result = s.paper_width;
        break;
      case PHYSICALHEIGHT:
        result = s.paper_height;
        break;
      case PHYSICALOFFSETX:
        result = s.offset_x;
        break;
      case PHYSICALOFFSETY:
        result = s.offset_y;
        break;
      case HORZRES:
        result = s.paper_width - 2 * s.offset_x;
        break;
      case VERTRES:
        result = s.paper_height - 2 * s.offset_y;
        break;
      default:
        break;
    }
  }
  LogLine("hook GetDeviceCaps %d -> %d", index, result);
  return result;
}

template <typename T>
void Install(HMODULE plugin, const char* dll, const char* name, T replacement, T* real) {
  void* previous = HookImport(plugin, dll, name, reinterpret_cast<void*>(replacement));
  if (previous != nullptr && previous != reinterpret_cast<void*>(replacement)) {
    *real = reinterpret_cast<T>(previous);
  }
  LogLine("hook %s %s", name, previous != nullptr ? "installed" : "not imported");
}

}  // namespace

void InstallHostHooks(HMODULE plugin) {
  Install(plugin, "kernel32.dll", "GetTickCount", &HookedGetTickCount, &RealGetTickCount);
  Install(plugin, "kernel32.dll", "GetVersionExA", &HookedGetVersionExA, &RealGetVersionExA);
  Install(plugin, "kernel32.dll", "CreateProcessW", &HookedCreateProcessW, &RealCreateProcessW);
  Install(plugin, "comdlg32.dll", "PrintDlgA", &HookedPrintDlgA, &RealPrintDlgA);
  Install(plugin, "gdi32.dll", "StartDocA", &HookedStartDocA, &RealStartDocA);
  Install(plugin, "gdi32.dll", "EndPage", &HookedEndPage, &RealEndPage);
  Install(plugin, "gdi32.dll", "EndDoc", &HookedEndDoc, &RealEndDoc);
  Install(plugin, "gdi32.dll", "DeleteDC", &HookedDeleteDC, &RealDeleteDC);
  Install(plugin, "gdi32.dll", "GetDeviceCaps", &HookedGetDeviceCaps, &RealGetDeviceCaps);
}

void SetHookListWindow(HWND list) { State().list = list; }

void SetScriptedClock(bool scripted, DWORD now) {
  HookState& s = State();
  s.clock_scripted = scripted;
  s.clock_now = now;
  s.clock_readings.clear();
  if (!scripted) s.clock_step = 0;
}

void SetScriptedClockReadings(const std::vector<DWORD>& readings) {
  HookState& s = State();
  s.clock_scripted = true;
  s.clock_readings.assign(readings.begin(), readings.end());
}

void SetScriptedClockStep(DWORD milliseconds) {
  HookState& s = State();
  if (!s.clock_scripted) SetScriptedClock(true, GetTickCount());
  s.clock_step = milliseconds;
}

void AdvanceScriptedClock(DWORD milliseconds) {
  HookState& s = State();
  if (!s.clock_scripted) SetScriptedClock(true, GetTickCount());
  s.clock_now += milliseconds;
}

void SetReportedPlatform(int platform_id) { State().platform = platform_id; }

void SetPrintDialogAnswer(const PrintDialogAnswer& answer) {
  State().print_answer = answer;
  InterlockedExchange(&State().print_mode, static_cast<LONG>(answer.mode));
}

PrintDialogMode CurrentPrintDialogMode() {
  return static_cast<PrintDialogMode>(InterlockedCompareExchange(&State().print_mode, 0, 0));
}

void SetTestPrinter(int width, int height, int offset_x, int offset_y) {
  HookState& s = State();
  s.paper_width = width;
  s.paper_height = height;
  s.offset_x = offset_x;
  s.offset_y = offset_y;
}

void SetPrintPagesFolder(const std::wstring& folder) {
  // Page names are joined with a backslash of their own.
  std::wstring trimmed = folder;
  while (!trimmed.empty() && (trimmed.back() == L'\\' || trimmed.back() == L'/'))
    trimmed.pop_back();
  State().pages_folder = trimmed;
}
