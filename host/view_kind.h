// What a viewer control shows, noted on the control itself so that printing
// and the next file loaded into it know: kept in its user data
// (GWLP_USERDATA), which belongs to whoever created the window, here the
// plugin. A control that was never dark holds 0 there, the light view.
#pragma once

#include <windows.h>

enum ViewKind { LightView = 0, DarkJavaView = 1, DarkTextView = 2 };

inline ViewKind ReadViewKind(HWND control) {
  LONG_PTR kind = GetWindowLongPtrA(control, GWLP_USERDATA);
  return (kind == DarkJavaView || kind == DarkTextView) ? static_cast<ViewKind>(kind) : LightView;
}

inline void NoteViewKind(HWND control, ViewKind kind) {
  SetWindowLongPtrA(control, GWLP_USERDATA, kind);
}
