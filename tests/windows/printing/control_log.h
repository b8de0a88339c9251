// What the print log records of the messages printing sends to the viewer
// control: "length", "selection", "release" (EM_FORMATRANGE with no record),
// "render 100" / "measure 100" (one page from position 100 to the end of the
// text) or "render 100..250" (to the end of a selection), "message 0x00B1"
// for anything else a control would act on. Shared by the page-table control
// and the recording of a real one.
#pragma once

#include <windows.h>

#include <vector>

// Logs the message; false for window-system messages that are not logged.
bool LogControlMessage(UINT message, WPARAM wParam, LPARAM lParam);

// The rectangles of every formatting call, and whether each named the print
// device context as hdc and hdcTarget and had rcPage equal to rc.
struct FormatCall {
  RECT rc;
  bool rcPageEqualsRc;
  bool deviceContextsMatch;
};
std::vector<FormatCall>& FormatCalls();
