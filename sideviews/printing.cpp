// Page calls: the printer begins the first page at StartDocA and a new page at
// each EndPage, and puts out the page in progress at EndDoc. So no StartPage is
// ever issued, EndPage only between two rendered pages once the second is known
// to take characters, and the last page is closed by EndDoc alone.
#include "sideviews/printing.h"

#include <string.h>

#include "host/richedit_operations.h"
#include "sideviews/print_rectangle.h"

// The records as the platform reads them; the 32-bit dialog record is packed.
#ifdef _WIN64
static_assert(sizeof(PRINTDLGA) == 120 && sizeof(DOCINFOA) == 40 && sizeof(FORMATRANGE) == 56,
              "print record sizes");
#else
static_assert(sizeof(PRINTDLGA) == 66 && sizeof(DOCINFOA) == 20 && sizeof(FORMATRANGE) == 48,
              "print record sizes");
#endif

namespace {

enum PrintMode { WholeTextMode, SelectionMode, PageRangeMode };

// A last page of 0 in the dialog stands for "to the end".
const int LastPossiblePage = 0x7FFF;

void ReleaseDialogMemory(PRINTDLGA* dialog) {
  if (dialog->hDevNames != nullptr) GlobalFree(dialog->hDevNames);
  if (dialog->hDevMode != nullptr) GlobalFree(dialog->hDevMode);
}

PrintPoint ConvertDeviceToLogical(HDC dc, int x, int y) {
  POINT point = {x, y};
  DPtoLP(dc, &point, 1);
  return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

PrintPoint ConvertLogicalToDevice(HDC dc, PrintPoint logical) {
  POINT point = {logical.x, logical.y};
  LPtoDP(dc, &point, 1);
  return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

// Where the text goes, in MM_LOMETRIC units; leaves the DC in MM_LOMETRIC.
PrintArea MeasurePrintArea(HDC dc, const RECT* margins) {
  // No margins from the host: print from the edge of the printable area.
  PrintMargins distances = {0, 0, 0, 0};
  if (margins != nullptr) {
    distances = {static_cast<int>(margins->left), static_cast<int>(margins->top),
                 static_cast<int>(margins->right), static_cast<int>(margins->bottom)};
  }
  SetMapMode(dc, MM_LOMETRIC);
  // Asked one at a time, in this order.
  int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  PrintPoint offset = ConvertDeviceToLogical(dc, offsetX, offsetY);
  int paperWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
  int paperHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
  PrintPoint paper = ConvertDeviceToLogical(dc, paperWidth, paperHeight);
  int printableWidth = GetDeviceCaps(dc, HORZRES);
  int printableHeight = GetDeviceCaps(dc, VERTRES);
  PrintPoint printable = ConvertDeviceToLogical(dc, printableWidth, printableHeight);
  return PlacePrintArea(distances, offset, paper, printable);
}

RECT ConvertAreaToTwips(HDC dc, const PrintArea& area, int dpiX, int dpiY) {
  PrintPoint start = ConvertLogicalToDevice(dc, area.start);
  PrintPoint extent = ConvertLogicalToDevice(dc, area.extent);
  TwipsRect twips = ConvertToTwips(start, extent, dpiX, dpiY);
  RECT rect = {twips.left, twips.top, twips.right, twips.bottom};
  return rect;
}

// The control changes the rectangles on every call; each call starts from the
// stored one.
void ResetRectangles(FORMATRANGE* range, const RECT& printRectangle) {
  range->rc = printRectangle;
  range->rcPage = printRectangle;
}

void PrintPages(HWND control, HDC dc, FORMATRANGE* range, const RECT& printRectangle, int position,
                int endBound) {
  for (;;) {
    range->chrg.cpMin = position;
    int next = FormatControlRange(control, true, range);
    position = next;
    if (next == -1 || next >= endBound) return;
    ResetRectangles(range, printRectangle);
    range->chrg.cpMin = next;
    int after = FormatControlRange(control, false, range);
    if (after <= next) return;  // the following page would take no character
    EndPage(dc);
    ResetRectangles(range, printRectangle);
  }
}

// Pages before firstPage are only measured, to find where the range begins.
void PrintPageRange(HWND control, HDC dc, FORMATRANGE* range, const RECT& printRectangle,
                    int endBound, int firstPage, int lastPage) {
  int page = 1;
  int position = 0;
  for (;;) {
    range->chrg.cpMin = position;
    int next = FormatControlRange(control, page >= firstPage, range);
    position = next;
    if (next >= endBound || next == -1) return;
    ResetRectangles(range, printRectangle);
    range->chrg.cpMin = next;
    int after = FormatControlRange(control, false, range);
    if (after <= next) return;
    if (firstPage <= page && page < lastPage) EndPage(dc);
    page = page + 1;
    if (page > lastPage) return;
    ResetRectangles(range, printRectangle);
  }
}

}  // namespace

bool AskForPrintJob(HWND owner, PrintJob* job) {
  PRINTDLGA& dialog = job->dialog;
  memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  // Page numbers and the selection both stay offered.
  dialog.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
  dialog.nFromPage = 0xFFFF;
  dialog.nToPage = 0xFFFF;
  dialog.nMinPage = 1;
  dialog.nMaxPage = 0xFFFF;
  dialog.nCopies = 1;
  if (!PrintDlgA(&dialog)) {
    ReleaseDialogMemory(&dialog);
    return false;
  }
  return true;
}

void PrintJobPages(HWND control, PrintJob* job, const char* documentName, const RECT* margins) {
  PRINTDLGA& dialog = job->dialog;
  PrintMode mode = WholeTextMode;
  int firstPage = 0;
  int lastPage = 0;
  if (dialog.Flags & PD_PAGENUMS) {
    mode = PageRangeMode;
    firstPage = dialog.nFromPage;
    lastPage = dialog.nToPage == 0 ? LastPossiblePage : dialog.nToPage;
  } else if (dialog.Flags & PD_SELECTION) {
    mode = SelectionMode;
  }

  HDC dc = dialog.hDC;
  DOCINFOA document;
  memset(&document, 0, sizeof document);
  document.cbSize = sizeof document;
  document.lpszDocName = documentName;
  if (StartDocA(dc, &document) <= 0) {
    FormatControlRange(control, false, nullptr);
    DeleteDC(dc);
    ReleaseDialogMemory(&dialog);
    return;
  }

  PrintArea area = MeasurePrintArea(dc, margins);
  int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  FormatControlRange(control, false, nullptr);  // drops formatting cached for the screen
  FORMATRANGE range;
  memset(&range, 0, sizeof range);
  range.hdc = dc;
  range.hdcTarget = dc;
  const RECT printRectangle = ConvertAreaToTwips(dc, area, dpiX, dpiY);
  SetMapMode(dc, MM_TEXT);
  ResetRectangles(&range, printRectangle);

  int endBound = GetControlTextLength(control);
  range.chrg.cpMax = -1;
  if (mode == PageRangeMode) {
    PrintPageRange(control, dc, &range, printRectangle, endBound, firstPage, lastPage);
  } else {
    int position = 0;
    if (mode == SelectionMode) {
      int selectionStart = 0;
      int selectionEnd = 0;
      GetControlSelection(control, &selectionStart, &selectionEnd);
      position = selectionStart;
      endBound = selectionEnd;
      range.chrg.cpMax = selectionEnd;
    }
    PrintPages(control, dc, &range, printRectangle, position, endBound);
  }

  EndDoc(dc);
  FormatControlRange(control, false, nullptr);
  DeleteDC(dc);
  ReleaseDialogMemory(&dialog);
}
