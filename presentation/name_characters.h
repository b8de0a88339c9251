// The characters of a Java or Kotlin name, as far as the views' text shows
// them (any non-ASCII character counts), and the blanks between words. No
// Win32 call: built on both sides.
#pragma once

#include <string>

inline bool IsNameCharacter(wchar_t c) {
  return c >= 0x80 || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
         (c >= L'0' && c <= L'9') || c == L'_' || c == L'$';
}

// The first position from at on that is no space or tab.
inline size_t SkipBlanks(const std::wstring& text, size_t at) {
  while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
  return at;
}
