// A small window of its own that shows a bitmap (the host's thumbnail view).
#pragma once

#include <windows.h>

// Shows the bitmap in a window owned by owner; the window takes the bitmap
// and deletes it when it is closed. Returns the window, or null when it cannot
// be made (the bitmap is then deleted too).
HWND ShowBitmapWindow(HWND owner, HBITMAP bitmap);
