#include "plugin/class_window.h"

#include <stdlib.h>
#include <windowsx.h>

#include <new>

#include "plugin/class_views.h"

namespace {

const WCHAR RecordProperty[] = L"dravik.class";
const WCHAR ProcedureProperty[] = L"dravik.procedure";

LRESULT CALLBACK ClassWindowProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(control, ProcedureProperty));
  ClassWindow* window = ClassWindowOf(control);
  if (window != nullptr) {
    if (message == SourceReadyMessage()) {
      // A run given up meanwhile may have posted too: only this window's counts.
      DecompileJob* job = reinterpret_cast<DecompileJob*>(wParam);
      if (job == window->pending && WaitForDecompileJob(job, 0)) TakeArrivedSource(control, window);
      return 0;
    }
    switch (message) {
      case WM_CONTEXTMENU:
        ShowClassViewMenu(control, window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      case WM_COMMAND:
        if (LOWORD(wParam) == ShowSourceCommand || LOWORD(wParam) == ShowBytecodeCommand) {
          SwitchClassView(control, window, LOWORD(wParam) == ShowBytecodeCommand);
          return 0;
        }
        break;
      case WM_KEYDOWN:
        if (wParam == SwitchViewKey && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
          SwitchClassView(control, window, !window->bytecodeShown);
          return 0;
        }
        break;
      case WM_CHAR:
        // The character Ctrl+B makes: the key did all there is to do.
        if (wParam == SwitchViewKey - 'A' + 1 && GetKeyState(VK_CONTROL) < 0) return 0;
        break;
    }
  }
  if (message == WM_NCDESTROY) {
    DetachClassWindow(control);
    RemovePropW(control, ProcedureProperty);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

ClassWindow* AttachClassWindow(HWND control) {
  ClassWindow* window = ClassWindowOf(control);
  if (window != nullptr) return window;
  if (GetPropW(control, ProcedureProperty) == nullptr) {
    LONG_PTR original = GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (original == 0 ||
        !SetPropW(control, ProcedureProperty, reinterpret_cast<HANDLE>(original))) {
      return nullptr;
    }
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClassWindowProcedure));
  }
  window = new (std::nothrow) ClassWindow();
  if (window != nullptr && !SetPropW(control, RecordProperty, window)) {
    delete window;
    window = nullptr;
  }
  return window;
}

ClassWindow* ClassWindowOf(HWND control) {
  return static_cast<ClassWindow*>(GetPropW(control, RecordProperty));
}

void DetachClassWindow(HWND control) {
  ClassWindow* window = static_cast<ClassWindow*>(RemovePropW(control, RecordProperty));
  if (window == nullptr) return;
  ReleaseDecompileJob(window->pending);
  free(window->result.text);
  delete window;
}
