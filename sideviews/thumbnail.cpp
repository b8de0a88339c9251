#include "sideviews/thumbnail.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "sideviews/line_numbers.h"

namespace {

// Asked afresh on every call; the thumbnail keeps no platform cache.
bool IsRunningOnNT() {
  OSVERSIONINFOA version;
  memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The host's buffer holds contentLength bytes and need not be terminated: the
// text is formed in a copy one byte longer, so the buffer is never read past
// its length nor written.
char* NumberContent(const char* content, int contentLength) {
  char* copy = static_cast<char*>(malloc(static_cast<size_t>(contentLength) + 1));
  if (copy == nullptr) {
    return nullptr;
  }
  memcpy(copy, content, static_cast<size_t>(contentLength));
  copy[contentLength] = '\0';
  char* numbered = NumberLines(copy, contentLength);
  free(copy);
  return numbered;
}

void DrawNumberedText(HDC drawing, const RECT& surface, const char* text, int pointSize) {
  int height = -MulDiv(pointSize, GetDeviceCaps(drawing, LOGPIXELSY), 72);
  HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "Arial");
  HGDIOBJ previousFont = SelectObject(drawing, font);
  RECT area = surface;
  FillRect(drawing, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawTextA(drawing, text, static_cast<int>(strlen(text)), &area, DT_EXPANDTABS);
  SelectObject(drawing, previousFont);
  DeleteObject(font);
}

}  // namespace

bool IsClassFileName(const WCHAR* name) {
  if (name == nullptr) {
    return false;
  }
  const WCHAR* lastComponent = wcsrchr(name, L'\\');
  if (lastComponent == nullptr) {
    return false;
  }
  const WCHAR* extension = wcsrchr(lastComponent, L'.');
  return extension != nullptr && _wcsicmp(extension, L".class") == 0;
}

HBITMAP DrawClassFileThumbnail(const WCHAR* fileName, int width, int height, const char* content,
                               int contentLength) {
  bool nt = IsRunningOnNT();
  if (!IsClassFileName(fileName) || contentLength <= 0 || content == nullptr) {
    return nullptr;
  }
  char* text = NumberContent(content, contentLength);
  if (text == nullptr) {
    return nullptr;  // nothing to draw
  }

  int pointSize = nt ? 10 : 5;
  RECT surface = {0, 0, 2 * width, 2 * height};
  HWND desktop = GetDesktopWindow();
  HDC screen = GetDC(desktop);
  HDC target = CreateCompatibleDC(screen);
  HDC drawing = CreateCompatibleDC(screen);
  HBITMAP large = CreateCompatibleBitmap(screen, 2 * width, 2 * height);
  HBITMAP small = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(desktop, screen);

  HGDIOBJ previousDrawingBitmap = SelectObject(drawing, large);
  DrawNumberedText(drawing, surface, text, pointSize);

  HBITMAP result;
  if (nt) {
    HGDIOBJ previousTargetBitmap = SelectObject(target, small);
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, 0, 0, width, height, drawing, 0, 0, 2 * width, 2 * height, SRCCOPY);
    SelectObject(target, previousTargetBitmap);
    SelectObject(drawing, previousDrawingBitmap);
    DeleteObject(large);
    result = small;
  } else {
    // Older platforms get the drawing surface itself, at twice the size.
    SelectObject(drawing, previousDrawingBitmap);
    DeleteObject(small);
    result = large;
  }

  DeleteDC(drawing);
  DeleteDC(target);
  free(text);
  return result;
}
