// The host's log: one plain line per event, to a file or to standard output,
// from any thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Sends the lines to path (UTF-8, truncated first), or to standard output
// when path is empty. Returns false when the file cannot be created.
bool OpenHostLog(const std::wstring& path);
void CloseHostLog();

// Writes one line, formatted as printf does.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Every line written from now on is also kept in memory (for tests).
void KeepLogLines();
std::vector<std::string> KeptLogLines();

// A text in double quotes with \" \r \n escaped (backslashes stay as they
// are, so paths read as paths), from a wide or an 8-bit (ANSI code page) string.
std::string Quoted(const std::wstring& text);
std::string QuotedAnsi(const char* text);
std::string Utf8(const std::wstring& text);
// A number as 0x and lower-case hexadecimal digits.
std::string Hex(unsigned long long value);
// The text in the ANSI code page, as the 8-bit exports take it.
std::string Ansi(const std::wstring& text);
