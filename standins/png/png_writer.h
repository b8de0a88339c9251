// PNG files of GDI bitmaps and of windows, written with WIC's PNG encoder.
// Pixels are stored as 24-bit colour (GDI leaves the alpha byte undefined).
#pragma once

#include <windows.h>

// Writes the bitmap as a PNG file. The bitmap must not be selected into a
// device context. Returns false when the bitmap cannot be read or the file
// cannot be written; the file is then absent or incomplete.
bool WriteBitmapPng(HBITMAP bitmap, const wchar_t* path);
bool WriteBitmapPng(HBITMAP bitmap, const char* path);

// Repaints the window with its children and writes what it shows, frame
// included, as a PNG file.
bool WriteWindowPng(HWND window, const wchar_t* path);
bool WriteWindowPng(HWND window, const char* path);
