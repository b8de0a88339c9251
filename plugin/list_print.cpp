// ListPrint: the host's print request handed to the printing of the control.
// A view shown dark prints from a light copy of itself, made once the user has
// chosen a printer, so the paper gets the light view whatever the screen shows.
#include "host/listplug.h"
#include "host/view_kind.h"
#include "presentation/light_copy.h"
#include "sideviews/printing.h"

int __stdcall ListPrint(HWND ListWin, char* FileToPrint, char* /*DefPrinter*/, int /*PrintFlags*/,
                        RECT* Margins) {
  PrintJob job;
  if (!AskForPrintJob(ListWin, &job)) return LISTPLUGIN_OK;
  ViewKind kind = ReadViewKind(ListWin);
  // Without a copy (no memory for it) the view prints as it is shown.
  HWND lightCopy = kind == LightView ? nullptr : CreateLightCopy(ListWin, kind);
  PrintJobPages(lightCopy != nullptr ? lightCopy : ListWin, &job, FileToPrint, Margins);
  if (lightCopy != nullptr) DestroyWindow(lightCopy);
  return LISTPLUGIN_OK;
}
