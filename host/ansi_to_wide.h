// The 8-bit exports turn their file name into a wide one here.
#pragma once

#include <windows.h>

// The buffer must hold AnsiToWideChars characters; the result is the buffer
// (an empty name when the name does not fit whole), or null for null.
enum { AnsiToWideChars = 1024 };
WCHAR* AnsiToWide(const char* name, WCHAR* buffer);
