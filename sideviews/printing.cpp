// ListPrint: not built yet; prints nothing.
#include "plugin/listplug.h"

int __stdcall ListPrint(HWND /*ListWin*/, char* /*FileToPrint*/, char* /*DefPrinter*/,
                        int /*PrintFlags*/, RECT* /*Margins*/) {
  return LISTPLUGIN_OK;
}
