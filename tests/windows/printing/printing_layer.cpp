#include "tests/windows/printing/printing_layer.h"

#include <string.h>

#include "standins/png/png_writer.h"

namespace {

std::vector<std::string> g_log;
PrintScript g_script;
HDC g_dc = nullptr;
HGLOBAL g_devNames = nullptr;
HGLOBAL g_devMode = nullptr;
HBITMAP g_page = nullptr;
HGDIOBJ g_previousBitmap = nullptr;
DWORD* g_pagePixels = nullptr;
std::vector<RECT> g_printedPages;
PRINTDLGA g_dialog;
DOCINFOA g_document;
std::string g_documentName;

decltype(&DeleteDC) g_realDeleteDC = nullptr;
decltype(&GetDeviceCaps) g_realGetDeviceCaps = nullptr;
decltype(&GlobalFree) g_realGlobalFree = nullptr;

BOOL WINAPI HookedPrintDlgA(PRINTDLGA* dialog) {
  g_log.push_back("PrintDlgA");
  g_dialog = *dialog;
  // The dialog hands out its memory whether the user confirms or not.
  g_devNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 64);
  g_devMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  dialog->hDevNames = g_devNames;
  dialog->hDevMode = g_devMode;
  if (!g_script.dialogResult) return FALSE;
  dialog->hDC = g_dc;
  dialog->Flags = (dialog->Flags & ~(PD_PAGENUMS | PD_SELECTION)) | g_script.flags;
  dialog->nFromPage = g_script.fromPage;
  dialog->nToPage = g_script.toPage;
  return TRUE;
}

int WINAPI HookedStartDocA(HDC dc, const DOCINFOA* document) {
  g_log.push_back(dc == g_dc ? "StartDocA" : "StartDocA on another DC");
  g_document = *document;
  g_documentName = document->lpszDocName ? document->lpszDocName : "(null)";
  return g_script.startDocResult;
}

// A copy of the page, since the bitmap the plugin draws into stays selected.
void WritePagePng(int number) {
  const int width = g_script.printableWidth;
  const int height = g_script.printableHeight;
  HDC copyDc = CreateCompatibleDC(g_dc);
  HBITMAP copy = CreateCompatibleBitmap(g_dc, width, height);
  if (copyDc != nullptr && copy != nullptr) {
    HGDIOBJ previous = SelectObject(copyDc, copy);
    BitBlt(copyDc, 0, 0, width, height, g_dc, 0, 0, SRCCOPY);
    SelectObject(copyDc, previous);
    std::string path = g_script.pagePngPrefix + std::to_string(number) + ".png";
    WriteBitmapPng(copy, path.c_str());
  }
  if (copy != nullptr) DeleteObject(copy);
  if (copyDc != nullptr) DeleteDC(copyDc);
}

// Notes where the page in progress has ink, and starts a fresh one.
void PutOutPage() {
  if (g_pagePixels == nullptr) return;
  GdiFlush();
  const int width = g_script.printableWidth;
  const int height = g_script.printableHeight;
  RECT ink = {width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    const DWORD* row = g_pagePixels + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF) continue;
      if (x < ink.left) ink.left = x;
      if (x >= ink.right) ink.right = x + 1;
      if (y < ink.top) ink.top = y;
      if (y >= ink.bottom) ink.bottom = y + 1;
    }
  }
  if (IsRectEmpty(&ink)) SetRectEmpty(&ink);
  g_printedPages.push_back(ink);
  if (!g_script.pagePngPrefix.empty()) WritePagePng(static_cast<int>(g_printedPages.size()));
  memset(g_pagePixels, 0xFF, static_cast<size_t>(width) * height * sizeof(DWORD));
}

int WINAPI HookedEndPage(HDC dc) {
  g_log.push_back(dc == g_dc ? "EndPage" : "EndPage on another DC");
  if (dc == g_dc) PutOutPage();
  return 1;
}

int WINAPI HookedEndDoc(HDC dc) {
  g_log.push_back(dc == g_dc ? "EndDoc" : "EndDoc on another DC");
  if (dc == g_dc) PutOutPage();
  return 1;
}

// A white page of the printable size behind the device context.
void SelectPage(HDC dc) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = g_script.printableWidth;
  info.bmiHeader.biHeight = -g_script.printableHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  g_page = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (g_page == nullptr) return;
  g_pagePixels = static_cast<DWORD*>(bits);
  memset(g_pagePixels, 0xFF,
         static_cast<size_t>(g_script.printableWidth) * g_script.printableHeight * sizeof(DWORD));
  g_previousBitmap = SelectObject(dc, g_page);
}

void ReleasePage(HDC dc) {
  if (g_page == nullptr) return;
  SelectObject(dc, g_previousBitmap);
  DeleteObject(g_page);
  g_page = nullptr;
  g_pagePixels = nullptr;
}

BOOL WINAPI HookedDeleteDC(HDC dc) {
  if (dc != g_dc) {
    g_log.push_back("DeleteDC on another DC");
    return g_realDeleteDC(dc);
  }
  g_log.push_back("DeleteDC");
  g_dc = nullptr;
  ReleasePage(dc);
  return g_realDeleteDC(dc);
}

int WINAPI HookedGetDeviceCaps(HDC dc, int index) {
  if (dc != g_dc) return g_realGetDeviceCaps(dc, index);
  switch (index) {
    case PHYSICALOFFSETX:
      return g_script.offsetX;
    case PHYSICALOFFSETY:
      return g_script.offsetY;
    case PHYSICALWIDTH:
      return g_script.paperWidth;
    case PHYSICALHEIGHT:
      return g_script.paperHeight;
    case HORZRES:
      return g_script.printableWidth;
    case VERTRES:
      return g_script.printableHeight;
    case LOGPIXELSX:
      return g_script.dpiX;
    case LOGPIXELSY:
      return g_script.dpiY;
    default:
      return g_realGetDeviceCaps(dc, index);
  }
}

HGLOBAL WINAPI HookedGlobalFree(HGLOBAL memory) {
  if (memory != nullptr && memory == g_devNames) {
    g_log.push_back("GlobalFree DEVNAMES");
    g_devNames = nullptr;
  } else if (memory != nullptr && memory == g_devMode) {
    g_log.push_back("GlobalFree DEVMODE");
    g_devMode = nullptr;
  } else {
    g_log.push_back("GlobalFree of something else");
  }
  return g_realGlobalFree(memory);
}

// Mapping modes follow the device's size; a memory DC is told the printer's
// (after any bitmap is selected, which resets it).
void SetPrinterResolution(HDC dc, const PrintScript& script) {
  typedef BOOL(WINAPI * SetVirtualResolutionFunction)(HDC, DWORD, DWORD, DWORD, DWORD);
  auto setVirtualResolution =
      reinterpret_cast<SetVirtualResolutionFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("gdi32.dll"), "SetVirtualResolution")));
  if (setVirtualResolution == nullptr) return;
  // Size in millimetres from pixels and dots per inch, rounded.
  DWORD widthMm =
      static_cast<DWORD>((script.paperWidth * 254 + script.dpiX * 5) / (script.dpiX * 10));
  DWORD heightMm =
      static_cast<DWORD>((script.paperHeight * 254 + script.dpiY * 5) / (script.dpiY * 10));
  setVirtualResolution(dc, script.paperWidth, script.paperHeight, widthMm, heightMm);
}

}  // namespace

std::vector<std::string>& PrintLog() { return g_log; }
HDC PrintDeviceContext() { return g_dc; }
const std::vector<RECT>& PrintedPages() { return g_printedPages; }
const PRINTDLGA& PassedDialogRecord() { return g_dialog; }
const DOCINFOA& PassedDocumentRecord() { return g_document; }
std::string PassedDocumentName() { return g_documentName; }

PrintingLayer::PrintingLayer(HMODULE module, const PrintScript& script) {
  g_log.clear();
  g_script = script;
  memset(&g_dialog, 0xCC, sizeof g_dialog);
  memset(&g_document, 0xCC, sizeof g_document);
  g_documentName.clear();
  g_printedPages.clear();
  g_dc = CreateCompatibleDC(nullptr);
  if (g_dc != nullptr) {
    if (script.drawnPages) SelectPage(g_dc);
    SetPrinterResolution(g_dc, script);
  }
  const struct {
    const char* dll;
    const char* function;
    void* replacement;
  } hooks[] = {
      {"comdlg32.dll", "PrintDlgA", reinterpret_cast<void*>(&HookedPrintDlgA)},
      {"gdi32.dll", "StartDocA", reinterpret_cast<void*>(&HookedStartDocA)},
      {"gdi32.dll", "EndPage", reinterpret_cast<void*>(&HookedEndPage)},
      {"gdi32.dll", "EndDoc", reinterpret_cast<void*>(&HookedEndDoc)},
      {"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&HookedDeleteDC)},
      {"gdi32.dll", "GetDeviceCaps", reinterpret_cast<void*>(&HookedGetDeviceCaps)},
      {"kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&HookedGlobalFree)},
  };
  for (const auto& h : hooks) {
    hooks_.push_back(std::make_unique<ScopedImportHook>(module, h.dll, h.function, h.replacement));
  }
  HMODULE control = GetModuleHandleA("riched20.dll");
  if (control != nullptr) {
    auto hook = std::make_unique<ScopedImportHook>(control, "gdi32.dll", "GetDeviceCaps",
                                                   reinterpret_cast<void*>(&HookedGetDeviceCaps));
    // Wine's own library reaches GDI otherwise; then there is nothing to hook.
    if (hook->installed()) controlHooks_.push_back(std::move(hook));
  }
  g_realDeleteDC = &DeleteDC;
  g_realGetDeviceCaps = &GetDeviceCaps;
  g_realGlobalFree = &GlobalFree;
}

PrintingLayer::~PrintingLayer() {
  hooks_.clear();
  controlHooks_.clear();
  // Whatever the plugin left behind is released here, so one test's leak does
  // not spill into the next; the log has already told.
  if (g_dc != nullptr) {
    ReleasePage(g_dc);
    DeleteDC(g_dc);
  }
  if (g_devNames != nullptr) GlobalFree(g_devNames);
  if (g_devMode != nullptr) GlobalFree(g_devMode);
  g_dc = nullptr;
  g_devNames = nullptr;
  g_devMode = nullptr;
}

bool PrintingLayer::installed() const {
  for (const auto& hook : hooks_) {
    if (!hook->installed()) return false;
  }
  return g_dc != nullptr;
}

bool PrintingLayer::deviceContextDeleted() const { return g_dc == nullptr; }
