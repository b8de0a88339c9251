// The window classes and their procedure: one RichEditControl per window,
// made at WM_NCCREATE and deleted at WM_NCDESTROY.
#include <new>

#include "standins/richedit/control.h"
#include "standins/richedit/richedit_control.h"

namespace richedit {

namespace {

const char* const kClassNames[] = {"RichEdit20A", "RichEdit"};

LRESULT CALLBACK ControlProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* control = reinterpret_cast<RichEditControl*>(GetWindowLongPtrA(window, 0));
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    control = new (std::nothrow) RichEditControl(window, *create);
    if (control == nullptr) return FALSE;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(control));
    // The title is the control's text, kept by the control itself.
    CREATESTRUCTA without_title = *create;
    without_title.lpszName = nullptr;
    return DefWindowProcA(window, message, wparam, reinterpret_cast<LPARAM>(&without_title));
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, 0, 0);
    delete control;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  LRESULT result = 0;
  if (control != nullptr && control->Handle(message, wparam, lparam, &result)) return result;
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RegisterControlClasses(HINSTANCE module) {
  bool all = true;
  for (const char* name : kClassNames) {
    WNDCLASSA window_class = {};
    window_class.style = CS_GLOBALCLASS | CS_DBLCLKS;
    window_class.lpfnWndProc = ControlProcedure;
    window_class.cbWndExtra = sizeof(LONG_PTR);
    window_class.hInstance = module;
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
    window_class.lpszClassName = name;
    if (RegisterClassA(&window_class) == 0) all = false;
  }
  return all;
}

void UnregisterControlClasses(HINSTANCE module) {
  for (const char* name : kClassNames) UnregisterClassA(name, module);
}

}  // namespace richedit
