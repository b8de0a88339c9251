// The host's requests on a shown list window: not built yet; each answers failure.
#include "plugin/listplug.h"
#include "plugin/module_state.h"

int __stdcall ListLoadNextW(HWND /*ParentWin*/, HWND /*ListWin*/, WCHAR* /*FileToLoad*/,
                            int /*ShowFlags*/) {
  return LISTPLUGIN_ERROR;
}

int __stdcall ListLoadNext(HWND ParentWin, HWND ListWin, char* FileToLoad, int ShowFlags) {
  WCHAR wide[AnsiToWideChars];
  return ListLoadNextW(ParentWin, ListWin, AnsiToWide(FileToLoad, wide), ShowFlags);
}

int __stdcall ListNotificationReceived(HWND /*ListWin*/, int /*Message*/, WPARAM /*wParam*/,
                                       LPARAM /*lParam*/) {
  return 0;
}

int __stdcall ListSendCommand(HWND /*ListWin*/, int /*Command*/, int /*Parameter*/) {
  return LISTPLUGIN_ERROR;
}

int __stdcall ListSearchText(HWND /*ListWin*/, char* /*SearchString*/, int /*SearchParameter*/) {
  return LISTPLUGIN_ERROR;
}
