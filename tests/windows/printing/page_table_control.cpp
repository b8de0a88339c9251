#include "tests/windows/printing/page_table_control.h"

#include <richedit.h>
#include <stdio.h>

#include <string>

#include "tests/windows/printing/printing_layer.h"

namespace {

PageTable g_table;
std::vector<FormatCall> g_formatCalls;

int FormatPage(FORMATRANGE* range, bool render) {
  int start = range->chrg.cpMin;
  if (render && start == g_table.renderingFailsAt) return -1;
  int end = start;
  for (int pageEnd : g_table.ends) {
    if (pageEnd > start) {
      end = pageEnd;
      break;
    }
  }
  if (range->chrg.cpMax >= 0 && range->chrg.cpMax < end) end = range->chrg.cpMax;
  if (end < start) end = start;
  return end;
}

LRESULT CALLBACK PageTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETTEXTLENGTH:
      PrintLog().push_back("length");
      return g_table.textLength;
    case EM_GETSEL:
      PrintLog().push_back("selection");
      if (wParam) *reinterpret_cast<int*>(wParam) = g_table.selectionStart;
      if (lParam) *reinterpret_cast<int*>(lParam) = g_table.selectionEnd;
      return MAKELONG(g_table.selectionStart, g_table.selectionEnd);
    case EM_FORMATRANGE: {
      auto* range = reinterpret_cast<FORMATRANGE*>(lParam);
      if (range == nullptr) {
        PrintLog().push_back("release");
        return 0;
      }
      char entry[64];
      if (range->chrg.cpMax == -1) {
        snprintf(entry, sizeof entry, "%s %ld", wParam ? "render" : "measure", range->chrg.cpMin);
      } else {
        snprintf(entry, sizeof entry, "%s %ld..%ld", wParam ? "render" : "measure",
                 range->chrg.cpMin, range->chrg.cpMax);
      }
      PrintLog().push_back(entry);
      g_formatCalls.push_back(
          {range->rc, EqualRect(&range->rc, &range->rcPage) != 0,
           range->hdc == PrintDeviceContext() && range->hdcTarget == PrintDeviceContext()});
      int end = FormatPage(range, wParam != 0);
      // As the real control does, rc comes back holding the height used.
      range->rc.bottom = range->rc.top + 100;
      range->rcPage.right = range->rcPage.left;
      return end;
    }
    default:
      if ((message >= EM_GETSEL && message <= 0x00FF) || message >= WM_USER) {
        char entry[32];
        snprintf(entry, sizeof entry, "message 0x%04X", message);
        PrintLog().push_back(entry);
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

const char kClassName[] = "DravikPageTableControl";

}  // namespace

HWND CreatePageTableControl(const PageTable& table) {
  g_table = table;
  g_formatCalls.clear();
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PageTableProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // fails harmlessly once registered
  return CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

const std::vector<FormatCall>& PageTableFormatCalls() { return g_formatCalls; }
