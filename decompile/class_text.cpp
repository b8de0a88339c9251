#include "decompile/class_text.h"

#include "decompile/long_path.h"

namespace {

// Larger than any class file the format's limits leave room for in practice.
const DWORD MostClassBytes = 64u << 20;

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

const unsigned char* Data(const ClassBytes& cls) {
  return reinterpret_cast<const unsigned char*>(cls.bytes.data());
}

}  // namespace

ClassBytes ReadClassBytes(const WCHAR* classFile) {
  ClassBytes cls;
  HANDLE file = LongPathCreateFile(classFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    cls.error = "The class file could not be opened.";
    return cls;
  }
  LARGE_INTEGER size;
  bool read = GetFileSizeEx(file, &size) && size.QuadPart <= MostClassBytes;
  if (read) {
    cls.bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD n = 0;
    read = cls.bytes.empty() ||
           (ReadFile(file, &cls.bytes[0], static_cast<DWORD>(cls.bytes.size()), &n, nullptr) &&
            n == cls.bytes.size());
  }
  CloseHandle(file);
  cls.read = read;
  if (!read) {
    cls.bytes.clear();
    cls.error = "The class file could not be read whole.";
  }
  return cls;
}

bool BytecodeTextOf(const ClassBytes& cls, std::wstring* text, std::string* error,
                    std::vector<MethodPlace>* places) {
  ParsedClass parsed;
  if (!cls.read) {
    *error = cls.error;
    return false;
  }
  if (!ReadClassFile(Data(cls), cls.bytes.size(), &parsed, error)) return false;
  *text = WideLines(BytecodeView(parsed, places));
  return true;
}

bool OutlineTextOf(const ClassBytes& cls, std::wstring* text, std::string* error) {
  std::string outline;
  if (!cls.read) {
    *error = cls.error;
    return false;
  }
  if (!ClassOutlineOf(Data(cls), cls.bytes.size(), &outline, error)) return false;
  *text = WideLines(outline);
  return true;
}

KotlinMetadata KotlinMetadataOfBytes(const ClassBytes& cls) {
  ParsedClass parsed;
  std::string error;
  if (!cls.read || !ReadClassFile(Data(cls), cls.bytes.size(), &parsed, &error)) {
    return KotlinMetadata();
  }
  return KotlinMetadataOf(parsed);
}

bool GlanceOf(const ClassBytes& cls, ClassGlance* glance, std::string* error) {
  ParsedClass parsed;
  if (!cls.read) {
    *error = cls.error;
    return false;
  }
  if (!ReadClassFile(Data(cls), cls.bytes.size(), &parsed, error)) return false;
  *glance = ClassGlanceOf(parsed);
  return true;
}
