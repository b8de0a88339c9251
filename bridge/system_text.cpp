#include "bridge/system_text.h"

#include "bridge/ansi_source.h"

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return L"";
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
  }
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return "";
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string utf8(n > 0 ? n : 0, '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], n,
                        nullptr, nullptr);
  }
  return utf8;
}

std::string Utf8FromUtf8OrAnsi(const std::string& bytes) {
  if (bytes.empty() || IsUtf8(bytes)) return bytes;
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], n);
  }
  return Utf8FromWide(wide);
}

bool EncodeInAnsiCodePage(char32_t codePoint, std::string* bytes) {
  wchar_t units[2];
  int count = 1;
  if (codePoint < 0x10000) {
    units[0] = static_cast<wchar_t>(codePoint);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    count = 2;
  }
  UINT codePage = GetACP();
  // The UTF code pages take no default-character flag, and hold everything.
  bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
  char encoded[8];
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, utf ? 0 : WC_NO_BEST_FIT_CHARS, units, count, encoded,
                              sizeof encoded, nullptr, utf ? nullptr : &usedDefault);
  if (n <= 0 || usedDefault) return false;
  // Some code pages map several characters to one byte; only a round trip is exact.
  wchar_t back[4];
  int m = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, encoded, n, back, 4);
  if (m != count || back[0] != units[0] || (count == 2 && back[1] != units[1])) return false;
  bytes->append(encoded, n);
  return true;
}
