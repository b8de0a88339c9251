// The Lister plugin interface as dravik implements it: the record the host
// passes to ListSetDefaultParams, the command, search, item and font-style
// values, and the fifteen exports.
#pragma once

#include <windows.h>

#define LISTPLUGIN_OK 0
#define LISTPLUGIN_ERROR 1

// ListSendCommand commands.
#define lc_copy 1
#define lc_newparams 2
#define lc_selectall 3
#define lc_setpercent 4

// ListSearchText flags.
#define lcs_findfirst 1
#define lcs_matchcase 2
#define lcs_wholewords 4
#define lcs_backwards 8

// High words of the WM_COMMAND messages posted to the Lister window.
#define itm_percent 0xFFFE
#define itm_fontstyle 0xFFFD
#define itm_next 0xFFFA

// Font style of the list window, sent with itm_fontstyle.
#define lcp_ansi 4

// Show flags of ListLoad and ListLoadNext: the file manager runs in its dark
// colour scheme (lcp_darkmode), with Windows' own dark controls
// (lcp_darkmodenative, always with lcp_darkmode).
#define lcp_darkmode 128
#define lcp_darkmodenative 256

typedef struct {
  int size;
  DWORD PluginInterfaceVersionLow;
  DWORD PluginInterfaceVersionHi;
  char DefaultIniName[MAX_PATH];
} ListDefaultParamStruct;

#ifdef __cplusplus
extern "C" {
#endif

HWND __stdcall ListLoad(HWND ParentWin, char* FileToLoad, int ShowFlags);
HWND __stdcall ListLoadW(HWND ParentWin, WCHAR* FileToLoad, int ShowFlags);
int __stdcall ListLoadNext(HWND ParentWin, HWND ListWin, char* FileToLoad, int ShowFlags);
int __stdcall ListLoadNextW(HWND ParentWin, HWND ListWin, WCHAR* FileToLoad, int ShowFlags);
void __stdcall ListCloseWindow(HWND ListWin);
void __stdcall ListGetDetectString(char* DetectString, int maxlen);
void __stdcall ListSetDefaultParams(ListDefaultParamStruct* dps);
int __stdcall ListSendCommand(HWND ListWin, int Command, int Parameter);
int __stdcall ListSearchText(HWND ListWin, char* SearchString, int SearchParameter);
int __stdcall ListSearchTextW(HWND ListWin, WCHAR* SearchString, int SearchParameter);
int __stdcall ListSearchDialog(HWND ListWin, int FindNext);
int __stdcall ListPrint(HWND ListWin, char* FileToPrint, char* DefPrinter, int PrintFlags,
                        RECT* Margins);
int __stdcall ListNotificationReceived(HWND ListWin, int Message, WPARAM wParam, LPARAM lParam);
HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* contentbuf,
                                       int contentbuflen);
HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* FileToLoad, int width, int height, char* contentbuf,
                                        int contentbuflen);

#ifdef __cplusplus
}
#endif
