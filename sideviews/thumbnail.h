// The thumbnail of a class file the class-file reader refuses: its first
// bytes, line-numbered, drawn on a white surface twice the requested size
// and, on the NT family, shrunk with halftone scaling. No decompiling: the
// host wants thumbnails fast. (A class the reader reads is drawn as its
// class: class_thumbnail.h.)
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
