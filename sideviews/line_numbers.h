// Line-numbered copies of 8-bit texts, for the plain-file view and the
// thumbnail: every line gets its zero-padded number and ": " in front.
#pragma once

// A new text (malloc; the caller frees it) in which every line of text starts
// with its number, padded with "0" to the digit count of the line count, and
// ": ". CR LF stays CR LF; a lone CR or LF becomes CR, the control's paragraph
// break. text runs to its first NUL; length is the count of bytes before it
// and only sizes the result (a smaller value is raised to the real count).
// Null for a null text, when memory runs out, or when the result would not fit
// in a signed 32-bit size.
char* NumberLines(const char* text, int length);

// Writes number's prefix at destination (its digits after enough "0" to fill
// width, then ": ", then a NUL) and returns the position of that NUL.
char* WriteLineNumber(char* destination, int number, int width);
