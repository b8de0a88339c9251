// lister_probe.wlx64: a small plugin of the host tests' own. It shows a plain
// edit control, posts the messages a lister plugin posts, prints two pages
// through the platform's print calls, draws a one-colour thumbnail, and
// exports three helpers that make the platform calls the host hooks.
#include <windows.h>
// windows.h first: the dialog declarations build on it.
#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "host/listplug.h"

#define PROBE_EXPORT extern "C" __declspec(dllexport)

namespace {

// MAKELONG(value, item) widened with its sign, as the Lister expects it.
WPARAM ItemMessage(WORD item, WORD value) {
  return static_cast<WPARAM>(static_cast<LONG_PTR>(static_cast<LONG>(MAKELONG(value, item))));
}

void PostItem(HWND to, HWND list, WORD item, WORD value) {
  PostMessageA(to, WM_COMMAND, ItemMessage(item, value), reinterpret_cast<LPARAM>(list));
}

DWORD PlatformId() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) ? info.dwPlatformId : 0;
}

}  // namespace

PROBE_EXPORT DWORD ProbeTickCount() { return GetTickCount(); }
PROBE_EXPORT DWORD ProbePlatform() { return PlatformId(); }
PROBE_EXPORT DWORD ProbeProcessId() { return GetCurrentProcessId(); }

// Runs a command line in the Windows folder; returns its exit code, or -1.
PROBE_EXPORT int ProbeRunProcess(const wchar_t* command_line) {
  wchar_t line[512];
  lstrcpynW(line, command_line, 512);
  wchar_t folder[MAX_PATH];
  GetWindowsDirectoryW(folder, MAX_PATH);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, folder,
                      &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

PROBE_EXPORT void __stdcall ListGetDetectString(char* DetectString, int maxlen) {
  lstrcpynA(DetectString, "ext=\"PROBE\" | force", maxlen);
}

PROBE_EXPORT void __stdcall ListSetDefaultParams(ListDefaultParamStruct*) {}

PROBE_EXPORT HWND __stdcall ListLoadW(HWND ParentWin, WCHAR* FileToLoad, int) {
  RECT area;
  GetClientRect(ParentWin, &area);
  HWND edit = CreateWindowExA(0, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                              area.right, area.bottom, ParentWin, nullptr, nullptr, nullptr);
  if (edit == nullptr) return nullptr;
  char text[4096];
  int n = snprintf(text, sizeof text, "probe %ls\r\nticks=%lu platform=%lu\r\n", FileToLoad,
                   GetTickCount(), PlatformId());
  for (int line = 1; line <= 60 && n > 0 && n < static_cast<int>(sizeof text) - 32; ++line) {
    n += snprintf(text + n, sizeof text - n, "line %d of the probe\r\n", line);
  }
  SetWindowTextA(edit, text);
  PostItem(ParentWin, edit, itm_fontstyle, lcp_ansi);
  PostItem(ParentWin, edit, itm_percent, 0);
  return edit;
}

PROBE_EXPORT HWND __stdcall ListLoad(HWND ParentWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, FileToLoad, -1, wide, MAX_PATH - 1);
  return ListLoadW(ParentWin, wide, ShowFlags);
}

PROBE_EXPORT int __stdcall ListLoadNextW(HWND ParentWin, HWND ListWin, WCHAR* FileToLoad, int) {
  char text[600];
  snprintf(text, sizeof text, "next %ls", FileToLoad);
  SetWindowTextA(ListWin, text);
  PostItem(ParentWin, ListWin, itm_percent, 0);
  return LISTPLUGIN_OK;
}

PROBE_EXPORT int __stdcall ListLoadNext(HWND ParentWin, HWND ListWin, char* FileToLoad,
                                        int ShowFlags) {
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, FileToLoad, -1, wide, MAX_PATH - 1);
  return ListLoadNextW(ParentWin, ListWin, wide, ShowFlags);
}

PROBE_EXPORT void __stdcall ListCloseWindow(HWND ListWin) { DestroyWindow(ListWin); }

PROBE_EXPORT int __stdcall ListSendCommand(HWND ListWin, int Command, int Parameter) {
  if (Command == lc_setpercent) {
    PostItem(GetParent(ListWin), ListWin, itm_percent, static_cast<WORD>(Parameter));
    return LISTPLUGIN_OK;
  }
  if (Command == lc_newparams) {
    PostItem(GetParent(ListWin), ListWin, itm_next, 0);
    return LISTPLUGIN_ERROR;
  }
  return Command == lc_copy || Command == lc_selectall ? LISTPLUGIN_OK : LISTPLUGIN_ERROR;
}

PROBE_EXPORT int __stdcall ListSearchText(HWND ListWin, char* SearchString, int) {
  char text[4096] = {};
  GetWindowTextA(ListWin, text, sizeof text);
  return strstr(text, SearchString) != nullptr ? LISTPLUGIN_OK : LISTPLUGIN_ERROR;
}

// A modal message box where a dialog would be, for the host's watchdog.
PROBE_EXPORT int __stdcall ListSearchDialog(HWND ListWin, int) {
  MessageBoxA(ListWin, "no dialog here", "Probe", MB_OK);
  return LISTPLUGIN_ERROR;
}

// Two pages: "page 1", EndPage, "page 2", EndDoc.
PROBE_EXPORT int __stdcall ListPrint(HWND ListWin, char* FileToPrint, char*, int, RECT*) {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ListWin;
  dialog.Flags = PD_RETURNDC;
  if (!PrintDlgA(&dialog)) return LISTPLUGIN_OK;
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = FileToPrint;
  if (StartDocA(dialog.hDC, &doc) > 0) {
    int x = GetDeviceCaps(dialog.hDC, PHYSICALWIDTH) / 4;
    TextOutA(dialog.hDC, x, 50, "page 1", 6);
    EndPage(dialog.hDC);
    TextOutA(dialog.hDC, x, 50, "page 2", 6);
    EndDoc(dialog.hDC);
  }
  DeleteDC(dialog.hDC);
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  return LISTPLUGIN_OK;
}

// An EN_UPDATE from the host is answered with a scroll report of 33 percent.
PROBE_EXPORT int __stdcall ListNotificationReceived(HWND ListWin, int Message, WPARAM wParam,
                                                    LPARAM) {
  if (Message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) {
    PostItem(GetParent(ListWin), ListWin, itm_percent, 33);
  }
  return 0;
}

// A width by height bitmap in one colour: red from the first content byte.
PROBE_EXPORT HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR*, int width, int height,
                                                     char* contentbuf, int contentbuflen) {
  if (contentbuflen <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(RGB(static_cast<BYTE>(contentbuf[0]), 0, 0));
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return bitmap;
}

PROBE_EXPORT HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height,
                                                    char* contentbuf, int contentbuflen) {
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, FileToLoad, -1, wide, MAX_PATH - 1);
  return ListGetPreviewBitmapW(wide, width, height, contentbuf, contentbuflen);
}
