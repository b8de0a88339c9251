#include "tests/windows/printing/control_log.h"

#include <richedit.h>
#include <stdio.h>

#include "tests/windows/printing/printing_layer.h"

namespace {

std::vector<FormatCall> g_formatCalls;

void LogFormatRange(bool render, const FORMATRANGE* range) {
  if (range == nullptr) {
    PrintLog().push_back("release");
    return;
  }
  char entry[64];
  if (range->chrg.cpMax == -1) {
    snprintf(entry, sizeof entry, "%s %ld", render ? "render" : "measure", range->chrg.cpMin);
  } else {
    snprintf(entry, sizeof entry, "%s %ld..%ld", render ? "render" : "measure", range->chrg.cpMin,
             range->chrg.cpMax);
  }
  PrintLog().push_back(entry);
  g_formatCalls.push_back(
      {range->rc, EqualRect(&range->rc, &range->rcPage) != 0,
       range->hdc == PrintDeviceContext() && range->hdcTarget == PrintDeviceContext()});
}

}  // namespace

bool LogControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETTEXTLENGTH:
      PrintLog().push_back("length");
      return true;
    case EM_GETSEL:
      PrintLog().push_back("selection");
      return true;
    case EM_FORMATRANGE:
      LogFormatRange(wParam != 0, reinterpret_cast<const FORMATRANGE*>(lParam));
      return true;
    default:
      if (message == WM_SETTEXT || message == WM_VSCROLL || message == WM_HSCROLL ||
          (message >= EM_GETSEL && message <= 0x00FF) || message >= WM_USER) {
        char entry[32];
        snprintf(entry, sizeof entry, "message 0x%04X", message);
        PrintLog().push_back(entry);
        return true;
      }
      return false;
  }
}

std::vector<FormatCall>& FormatCalls() { return g_formatCalls; }
