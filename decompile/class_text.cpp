#include "decompile/class_text.h"

#include "decompile/long_path.h"

namespace {

// Larger than any class file the format's limits leave room for in practice.
const DWORD MostClassBytes = 64u << 20;

bool ReadClassBytes(const WCHAR* classFile, std::string* bytes, std::string* error) {
  HANDLE file = LongPathCreateFile(classFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = "The class file could not be opened.";
    return false;
  }
  LARGE_INTEGER size;
  bool read = GetFileSizeEx(file, &size) && size.QuadPart <= MostClassBytes;
  if (read) {
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD n = 0;
    read = bytes->empty() ||
           (ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &n, nullptr) &&
            n == bytes->size());
  }
  CloseHandle(file);
  if (!read) *error = "The class file could not be read whole.";
  return read;
}

// UTF-8 with LF line ends as UTF-16 with CR LF.
std::wstring WideLines(const std::string& utf8) {
  std::wstring wide;
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return wide;
  std::wstring plain(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &plain[0], n);
  wide.reserve(plain.size() + plain.size() / 16);
  for (wchar_t c : plain) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  return wide;
}

}  // namespace

bool ReadBytecodeText(const WCHAR* classFile, std::wstring* text, std::string* error,
                      std::vector<MethodPlace>* places, std::vector<size_t>* fieldLines) {
  std::string bytes;
  if (!ReadClassBytes(classFile, &bytes, error)) return false;
  ParsedClass parsed;
  if (!ReadClassFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &parsed,
                     error)) {
    return false;
  }
  *text = WideLines(BytecodeView(parsed, places, fieldLines));
  return true;
}

bool ReadOutlineText(const WCHAR* classFile, std::wstring* text, std::string* error) {
  std::string bytes, outline;
  if (!ReadClassBytes(classFile, &bytes, error) ||
      !ClassOutlineOf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &outline,
                      error)) {
    return false;
  }
  *text = WideLines(outline);
  return true;
}

bool ReadClassGlance(const WCHAR* classFile, ClassGlance* glance, std::string* error) {
  std::string bytes;
  ParsedClass parsed;
  if (!ReadClassBytes(classFile, &bytes, error) ||
      !ReadClassFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &parsed,
                     error)) {
    return false;
  }
  *glance = ClassGlanceOf(parsed);
  return true;
}
