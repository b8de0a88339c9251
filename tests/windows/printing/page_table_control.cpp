#include "tests/windows/printing/page_table_control.h"

#include <richedit.h>

#include "tests/windows/printing/control_log.h"

namespace {

PageTable g_table;

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
  if (!LogControlMessage(message, wParam, lParam)) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_GETTEXTLENGTH:
      return g_table.textLength;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<int*>(wParam) = g_table.selectionStart;
      if (lParam) *reinterpret_cast<int*>(lParam) = g_table.selectionEnd;
      return MAKELONG(g_table.selectionStart, g_table.selectionEnd);
    case EM_FORMATRANGE: {
      auto* range = reinterpret_cast<FORMATRANGE*>(lParam);
      if (range == nullptr) return 0;
      int end = FormatPage(range, wParam != 0);
      // As a real control does, rc comes back holding the height used.
      range->rc.bottom = range->rc.top + 100;
      range->rcPage.right = range->rcPage.left;
      return end;
    }
    default:
      return 0;
  }
}

const char kClassName[] = "DravikPageTableControl";

}  // namespace

HWND CreatePageTableControl(const PageTable& table) {
  g_table = table;
  FormatCalls().clear();
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PageTableProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // fails harmlessly once registered
  return CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}
