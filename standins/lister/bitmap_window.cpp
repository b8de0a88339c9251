#include "standins/lister/bitmap_window.h"

namespace {

const wchar_t kBitmapWindowClass[] = L"DravikListerBitmap";

LRESULT CALLBACK BitmapWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) DeleteObject(bitmap);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HWND ShowBitmapWindow(HWND owner, HBITMAP bitmap) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = BitmapWindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kBitmapWindowClass;
    registered = RegisterClassW(&window_class) != 0;
  }
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  RECT rect = {0, 0, info.bmWidth, info.bmHeight};
  AdjustWindowRect(&rect, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kBitmapWindowClass, L"Thumbnail",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40,
                                rect.right - rect.left, rect.bottom - rect.top, owner, nullptr,
                                instance, nullptr);
  if (window == nullptr) {
    DeleteObject(bitmap);
    return nullptr;
  }
  // The window owns the bitmap from here and deletes it when it goes.
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  InvalidateRect(window, nullptr, TRUE);
  return window;
}
