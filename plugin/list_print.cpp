// ListPrint: the host's print request handed to the printing of the control.
#include "host/listplug.h"
#include "sideviews/printing.h"

int __stdcall ListPrint(HWND ListWin, char* FileToPrint, char* /*DefPrinter*/, int /*PrintFlags*/,
                        RECT* Margins) {
  PrintControlText(ListWin, FileToPrint, Margins);
  return LISTPLUGIN_OK;
}
