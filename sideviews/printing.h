// Printing the viewer control's text through the common print dialog, page by
// page with the control's own page formatting (EM_FORMATRANGE), inside the
// margins the host passes.
#pragma once

#include <windows.h>

// Asks for the printer and the range (all, pages, selection) and prints;
// documentName names the job, margins (0.1 mm from the paper edges, may be
// null) place the text. Nothing is reported: a cancelled dialog or a job that
// does not start prints nothing.
void PrintControlText(HWND control, const char* documentName, const RECT* margins);
