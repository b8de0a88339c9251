// The thumbnail of a file the class-file reader refuses: its first bytes,
// line-numbered, drawn on a white surface twice the requested size and, on
// the NT family, shrunk with halftone scaling. No decompiling: the host wants
// thumbnails fast. (A class the reader reads is drawn as its class, by
// class_thumbnail.h, on the same kind of surface.)
#pragma once

#include <windows.h>

// A bitmap of width by height (twice that off the NT family) that the caller
// owns, or null for a name that is not a class file's, for no content, or when
// the numbered text cannot be had. The content buffer holds contentLength
// bytes, need not be terminated, and is only read.
HBITMAP DrawClassFileThumbnail(const WCHAR* fileName, int width, int height, const char* content,
                               int contentLength);

// Whether the name's last component ends in ".class" (any case).
bool IsClassFileName(const WCHAR* name);

// Draws on a surface twice the requested size, painter given the drawing DC,
// the surface and the platform's point size (10 on the NT family, 5
// elsewhere), and returns it shrunk to width by height on the NT family, as
// it is elsewhere. Every DC and the bitmap not returned are released.
typedef void (*ThumbnailPainter)(HDC drawing, const RECT& surface, int pointSize,
                                 const void* context);
HBITMAP PaintThumbnail(int width, int height, ThumbnailPainter painter, const void* context);
