// UTF-8 text (the class-file reader's names and types) as the UTF-16 the
// controls and GDI take; an ill-formed sequence becomes U+FFFD.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring WideFromUtf8(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
  }
  return wide;
}
