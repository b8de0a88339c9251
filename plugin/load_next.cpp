// ListLoadNextW: waits for the long-path file layer; until then it declines.
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
