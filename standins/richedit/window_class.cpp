// The window classes and their procedure: one RichEditControl per window,
// made at WM_NCCREATE and deleted at WM_NCDESTROY.
#include <new>

#include "standins/richedit/control.h"
#include "standins/richedit/richedit_control.h"

namespace richedit {

namespace {

// The 8-bit classes; "RichEdit20W" is the UTF-16 one.
const char* const kAnsiClassNames[] = {"RichEdit20A", "RichEdit"};
const wchar_t kUnicodeClassName[] = L"RichEdit20W";

// One procedure for both kinds of window: the system hands a Unicode window's
// procedure wide text and an 8-bit one's ANSI text, and the control reads the
// text messages accordingly.
template <bool unicode>
LRESULT CALLBACK ControlProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* control = reinterpret_cast<RichEditControl*>(GetWindowLongPtrW(window, 0));
  auto call_default = unicode ? DefWindowProcW : DefWindowProcA;
  if (message == WM_NCCREATE) {
    // CREATESTRUCTA and CREATESTRUCTW differ only in what their names point to.
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    control = new (std::nothrow) RichEditControl(window, unicode, create->style, create->lpszName);
    if (control == nullptr) return FALSE;
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(control));
    // The title is the control's text, kept by the control itself.
    CREATESTRUCTW without_title = *create;
    without_title.lpszName = nullptr;
    return call_default(window, message, wparam, reinterpret_cast<LPARAM>(&without_title));
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, 0, 0);
    delete control;
    return call_default(window, message, wparam, lparam);
  }
  LRESULT result = 0;
  if (control != nullptr && control->Handle(message, wparam, lparam, &result)) return result;
  return call_default(window, message, wparam, lparam);
}

// The class as both kinds register it; WNDCLASSA and WNDCLASSW differ only
// in the type of the name.
template <typename WindowClass>
WindowClass ControlClass(HINSTANCE module, WNDPROC procedure, HCURSOR cursor) {
  WindowClass window_class = {};
  window_class.style = CS_GLOBALCLASS | CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.cbWndExtra = sizeof(LONG_PTR);
  window_class.hInstance = module;
  window_class.hCursor = cursor;
  return window_class;
}

}  // namespace

bool RegisterControlClasses(HINSTANCE module) {
  HCURSOR cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  bool all = true;
  for (const char* name : kAnsiClassNames) {
    WNDCLASSA window_class = ControlClass<WNDCLASSA>(module, ControlProcedure<false>, cursor);
    window_class.lpszClassName = name;
    if (RegisterClassA(&window_class) == 0) all = false;
  }
  WNDCLASSW window_class = ControlClass<WNDCLASSW>(module, ControlProcedure<true>, cursor);
  window_class.lpszClassName = kUnicodeClassName;
  if (RegisterClassW(&window_class) == 0) all = false;
  return all;
}

void UnregisterControlClasses(HINSTANCE module) {
  for (const char* name : kAnsiClassNames) UnregisterClassA(name, module);
  UnregisterClassW(kUnicodeClassName, module);
}

}  // namespace richedit
