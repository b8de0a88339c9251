// One print job through the real print dialog to the default printer, as the
// Lister host would start it: the built plugin's ListPrint on a viewer
// control, the dialog accepted from a watchdog thread. Counts the pages the
// plugin rendered and those of them that drew anything, for print_to_cups.sh
// to compare with the pages that arrive.
//   cups_print_job.exe JOBNAME FILE
//   cups_print_job.exe --no-printer JOBNAME FILE
// FILE is shown the way the host would show it: a class file through
// ListLoad, anything else as plain text in a rich-edit control. Prints
// "rendered N", "inked N" and the titles of the dialogs it accepted; exit
// status 0, 77 when there is no printer (the real dialog is then never
// called), 1 on failure. With --no-printer it checks the other way round that, with no
// printer at all, the dialog's request to install one is all that happens:
// ListPrint returns 0 once the box is dismissed and nothing is rendered (77
// when a printer is visible after all).
#include <windows.h>
// commdlg.h and winspool.h need the types of windows.h first.
#include <commdlg.h>
#include <richedit.h>
#include <stdio.h>
#include <string.h>
#include <winspool.h>

#include <string>

#include "host/listplug.h"
#include "presentation/text_styles.h"
#include "tests/windows/test_support.h"

namespace {

int g_renderedPages = 0;
int g_inkedPages = 0;
WNDPROC g_controlProc = nullptr;

// Whether the text [start, end) holds a character that leaves ink: a page
// holding only the empty paragraph that ends a text draws nothing, and Wine's
// printer driver puts out no page on which nothing was drawn.
bool HoldsInk(HWND control, int start, int end) {
  if (end <= start) return false;
  std::wstring text(static_cast<size_t>(end - start) + 1, L'\0');
  TEXTRANGEW range = {{start, end}, &text[0]};
  LRESULT count = SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  return text.find_first_not_of(L" \t\r") < static_cast<size_t>(count);
}

// Sees every page the plugin has the control draw.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcW(g_controlProc, window, message, wParam, lParam);
  if (message == EM_FORMATRANGE && wParam != 0 && lParam != 0) {
    ++g_renderedPages;
    const auto* range = reinterpret_cast<const FORMATRANGE*>(lParam);
    if (HoldsInk(window, range->chrg.cpMin, static_cast<int>(result))) ++g_inkedPages;
  }
  return result;
}

// Accepts every dialog box this process shows until told to stop: the print
// dialog, or the box that asks for a printer to be installed.
struct Watchdog {
  HANDLE stop = nullptr;
  std::string accepted;
  HWND last = nullptr;
};

BOOL CALLBACK AcceptDialog(HWND window, LPARAM data) {
  auto* watchdog = reinterpret_cast<Watchdog*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (process != GetCurrentProcessId() || strcmp(className, "#32770") != 0 ||
      !IsWindowVisible(window) || window == watchdog->last) {
    return TRUE;
  }
  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  watchdog->accepted += std::string(watchdog->accepted.empty() ? "" : "; ") + title;
  watchdog->last = window;
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return TRUE;
}

DWORD WINAPI RunWatchdog(void* data) {
  auto* watchdog = static_cast<Watchdog*>(data);
  // A minute at most; the dialog shows within a second or two.
  for (int i = 0; i < 600 && WaitForSingleObject(watchdog->stop, 100) == WAIT_TIMEOUT; ++i) {
    EnumWindows(AcceptDialog, reinterpret_cast<LPARAM>(watchdog));
  }
  return 0;
}

bool HasPrinter() {
  char name[256];
  DWORD size = sizeof name;
  return GetDefaultPrinterA(name, &size) != 0;
}

std::string ReadFileText(const char* path) {
  std::string text;
  FILE* file = fopen(path, "rb");
  if (file == nullptr) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  fclose(file);
  return text;
}

bool EndsWith(const std::string& s, const char* suffix) {
  size_t n = strlen(suffix);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, suffix) == 0;
}

// The list window for file, as the host would get it; null when it cannot be shown.
HWND ShowFile(const LoadedPlugin& plugin, HWND parent, const std::string& file) {
  if (EndsWith(file, ".class")) {
    auto listLoad = plugin.Export<decltype(&ListLoad)>("ListLoad");
    return listLoad(parent, const_cast<char*>(file.c_str()), 0);
  }
  std::string text = ReadFileText(file.c_str());
  if (text.empty()) return nullptr;
  LoadLibraryA("Riched20.dll");
  RECT client;
  GetClientRect(parent, &client);
  HWND control = CreateWindowExW(
      0, L"RichEdit20W", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
      client.right, client.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) return nullptr;
  SetWindowTextA(control, text.c_str());
  SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL,
               reinterpret_cast<LPARAM>(const_cast<CHARFORMAT2A*>(&LightPalette.base)));
  return control;
}

}  // namespace

int main(int argc, char** argv) {
  bool expectNoPrinter = argc == 4 && strcmp(argv[1], "--no-printer") == 0;
  if (expectNoPrinter) {
    ++argv;
    --argc;
  }
  if (argc != 3) {
    fprintf(stderr, "usage: cups_print_job [--no-printer] JOBNAME FILE\n");
    return 1;
  }
  if (HasPrinter() == expectNoPrinter) {
    printf(expectNoPrinter ? "a printer is visible\n" : "no printer\n");
    return 77;
  }
  LoadedPlugin plugin;
  auto listPrint = plugin.Export<decltype(&ListPrint)>("ListPrint");
  if (listPrint == nullptr) {
    fprintf(stderr, "the plugin is not loaded\n");
    return 1;
  }
  HWND parent = CreateWindowExA(0, "STATIC", "Lister", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND control = parent != nullptr ? ShowFile(plugin, parent, argv[2]) : nullptr;
  if (control == nullptr) {
    fprintf(stderr, "cannot show %s\n", argv[2]);
    if (parent != nullptr) DestroyWindow(parent);
    return 1;
  }
  // The wide call: the plugin's control is a Unicode window and stays one.
  g_controlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));

  Watchdog watchdog;
  watchdog.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, RunWatchdog, &watchdog, 0, nullptr);
  // 20 mm at the left, 15 mm elsewhere.
  RECT margins = {200, 150, 150, 150};
  int result = listPrint(control, argv[1], nullptr, 0, &margins);
  SetEvent(watchdog.stop);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  CloseHandle(watchdog.stop);

  printf("result %d\nrendered %d\ninked %d\naccepted %s\n", result, g_renderedPages, g_inkedPages,
         watchdog.accepted.c_str());
  DestroyWindow(parent);
  if (expectNoPrinter &&
      (result != LISTPLUGIN_OK || g_renderedPages != 0 || watchdog.accepted.empty())) {
    printf("FAILED: with no printer, expected result 0, no page and one dismissed box\n");
    return 1;
  }
  return 0;
}
