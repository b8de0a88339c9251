// Printing the viewer control's text through the common print dialog, page by
// page with the control's own page formatting (EM_FORMATRANGE), inside the
// margins the host passes.
#pragma once

#include <windows.h>
// commdlg.h needs the types of windows.h first.
#include <commdlg.h>

// The printer and the range the user chose.
struct PrintJob {
  PRINTDLGA dialog;
};

// Asks for the printer and the range (all, pages, selection) in the common
// print dialog, owned by owner. False when the user cancels; nothing is then
// left to release.
bool AskForPrintJob(HWND owner, PrintJob* job);

// Prints the control's text as the job says and releases the job's printer
// and memory; documentName names the job, margins (0.1 mm from the paper
// edges, may be null) place the text. Nothing is reported: a job that does not
// start prints nothing.
void PrintJobPages(HWND control, PrintJob* job, const char* documentName, const RECT* margins);
