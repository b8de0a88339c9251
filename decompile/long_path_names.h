// The string side of the long-path file layer: bounded wide copies and the
// rewriting of long paths into the extended-length form. No platform call, so
// it also builds and runs natively under the sanitizers.
#pragma once

#include <wchar.h>

// Room of an extended-length path buffer: 1028 characters and the terminator.
enum { LongPathBufferChars = 1029 };

// Paths this long or longer get the extended-length prefix.
enum { LongPathThreshold = 260 };

// Copies at most size - 1 characters of source and terminates right after them.
// A size of 0 or less writes nothing. Returns destination.
wchar_t* BoundedWideCopy(wchar_t* destination, const wchar_t* source, int size);

// Appends source behind the text in destination, keeping the whole within size
// characters (terminator included); what does not fit is cut. A destination with
// no terminator within size is terminated at size - 1. A size of 0 or less
// writes nothing. Returns destination.
wchar_t* BoundedWideAppend(wchar_t* destination, const wchar_t* source, int size);

// Appends source behind the text in destination only when the whole result
// fits within size characters (terminator included): returns 1 then, else 0
// with destination unchanged. For names, which must never be cut: a cut name
// could name another file.
int WholeWideAppend(wchar_t* destination, const wchar_t* source, int size);

// Writes path into destination (size characters, terminator included): unchanged
// when shorter than 260 characters, else behind "\\?\" or, when it starts with
// two backslashes, as "\\?\UNC" and the path from its second character on.
// Returns nonzero when the destination holds the complete result, 0 when it had
// to be cut (or path is null, which leaves an empty text).
int MakeLongPathSized(wchar_t* destination, const wchar_t* path, int size);

// MakeLongPathSized into a buffer of LongPathBufferChars.
int MakeLongPath(wchar_t* destination, const wchar_t* path);
