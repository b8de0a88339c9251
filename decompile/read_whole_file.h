// The one rule by which a whole file becomes an 8-bit text.
#pragma once

#include <windows.h>

// The file's bytes unchanged and one zero byte behind them, in a block from
// malloc that the caller frees; null when the file cannot be opened, is 2 GiB
// or larger, cannot be held, or holds a zero byte among the bytes read.
char* ReadWholeFile(const WCHAR* path);

// The same rule on a file already open for reading, which stays open; *count
// receives the number of bytes read (the text's length).
char* ReadOpenFileText(HANDLE file, DWORD* count);
