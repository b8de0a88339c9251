// The WM_COMMAND messages the plugin posts to the Lister window.
#pragma once

#include <windows.h>

// wParam is MAKELONG(value, item) read as a signed 32-bit value and widened
// with its sign, as the host expects: with the itm_ items the upper half of a
// 64-bit wParam is all ones. lParam is the list window.
inline void PostHostMessage(HWND lister, HWND listWindow, int value, int item) {
  LONG command = static_cast<LONG>(MAKELONG(value, item));
  PostMessageA(lister, WM_COMMAND, static_cast<WPARAM>(static_cast<LONG_PTR>(command)),
               reinterpret_cast<LPARAM>(listWindow));
}
