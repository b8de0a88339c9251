// A printing layer standing in for the common print dialog and the printer:
// hooks on the loaded plugin's imports answer PrintDlgA with a device context
// the test owns and with the choice the test scripts, and record every page
// call in one log shared with the test's control.
#pragma once

#include <windows.h>
// commdlg.h needs the types of windows.h first.
#include <commdlg.h>

#include <memory>
#include <string>
#include <vector>

#include "standins/hooks/import_hooks.h"

// What the user chose in the dialog and what the printer says about itself.
struct PrintScript {
  BOOL dialogResult = TRUE;
  DWORD flags = 0;  // PD_PAGENUMS, PD_SELECTION or neither
  WORD fromPage = 0;
  WORD toPage = 0;
  int startDocResult = 1;
  // A4 at 300 dpi with an unprintable strip of 50 pixels on every side.
  int offsetX = 50;
  int offsetY = 50;
  int paperWidth = 2480;
  int paperHeight = 3508;
  int printableWidth = 2380;
  int printableHeight = 3408;
  int dpiX = 300;
  int dpiY = 300;
  // Whether the device context draws into a white page of the printable size,
  // looked at by every EndPage and EndDoc.
  bool drawnPages = false;
  // With drawn pages: where each page is also written as a PNG file, as this
  // prefix followed by the page number and ".png" (nowhere when empty).
  std::string pagePngPrefix;
};

// The calls the plugin made, in order: "PrintDlgA", "StartDocA", "EndPage",
// "EndDoc", "DeleteDC", "GlobalFree DEVNAMES", "GlobalFree DEVMODE", and what
// the control adds.
std::vector<std::string>& PrintLog();

// The device context the dialog hands out: a memory DC whose mapping modes
// work as on a printer of the scripted page size and resolution.
HDC PrintDeviceContext();

// The printed pages when the script asks for drawn pages: for each, the
// bounding box of what was drawn, in device pixels (empty for a blank page).
const std::vector<RECT>& PrintedPages();

// The dialog record as the plugin passed it, and the document record.
const PRINTDLGA& PassedDialogRecord();
const DOCINFOA& PassedDocumentRecord();
std::string PassedDocumentName();

// Installs the hooks on module for the life of the object, with script as the
// dialog's and the printer's answers. The device's capabilities are answered
// to the rich-edit library too, when one is loaded, so that the control lays
// out its pages for the same printer.
class PrintingLayer {
 public:
  PrintingLayer(HMODULE module, const PrintScript& script);
  ~PrintingLayer();
  PrintingLayer(const PrintingLayer&) = delete;
  PrintingLayer& operator=(const PrintingLayer&) = delete;

  bool installed() const;
  // Whether the device context was deleted (by the plugin, through DeleteDC).
  bool deviceContextDeleted() const;

 private:
  std::vector<std::unique_ptr<ScopedImportHook>> hooks_;
  std::vector<std::unique_ptr<ScopedImportHook>> controlHooks_;
};
