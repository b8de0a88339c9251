// A scriptable stand-in for Jad, for the tests of the decompiler run. Started
// as Jad is, "jad" -lnc -o -s "<ext>" "<name>", it reads <name>.class from its
// current directory and writes <Class>.<ext> there, where <Class> is the simple
// name of the class that the class file's constant pool names.
//
// Beside the executable, fakejad.mode picks what it does (one word; "write"
// when the file is missing):
//   write    the output file, with the text "class <Class> {}\r\n"
//   empty    an empty output file
//   nul      an output file with a zero byte inside
//   two      two output files: <Class>.<ext> and <Class>Twin.<ext>
//   long     the output file under a name 230 characters longer
//   nothing  reads the input but writes nothing
//   fail     writes nothing and exits with 1
//   quick    exits at once without reading anything
//   source   the output file, with the bytes of fakejad.source beside it (of
//            fakejad.kotlin, when it is there, for an extension ending in
//            ".kt": the plugin asking for Kotlin)
//   hang     the output file, then waits for ever (until it is ended)
//   slow     waits the milliseconds fakejad.delay beside it names (2000 when
//            it names none), writes the output file as write does and appends
//            "done <name>" to fakejad.log; asked to stop meanwhile (as the
//            bridge is), it appends "stopped <name>", ends at once with exit
//            code 7 and writes nothing else
//   listing  the output file, with the class line and then one line
//            "// <name> <size>" for each file in its current directory, in
//            name order (what the decompiler found beside its input)
//   meet     as listing, once a second fake started from the same folder has
//            come to this point too (at most 30 seconds), so two runs overlap;
//            then "// met" is the last line
// Every start appends two lines to fakejad.log beside the executable: the
// command line and the current directory, in UTF-8.
#include <stdio.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bridge/jad/cancel_event.h"

namespace {

std::wstring OwnDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

// MinGW's streams take no wide names; the C runtime's _wfopen does.
std::string ReadBytes(const std::wstring& name) {
  std::string bytes;
  FILE* file = _wfopen(name.c_str(), L"rb");
  if (file == nullptr) return bytes;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  fclose(file);
  return bytes;
}

void WriteBytes(const std::wstring& name, const wchar_t* how, const std::string& bytes) {
  FILE* file = _wfopen(name.c_str(), how);
  if (file == nullptr) return;
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

void AppendLog(const std::wstring& directory) {
  wchar_t current[4096];
  DWORD n = GetCurrentDirectoryW(4096, current);
  WriteBytes(directory + L"fakejad.log", L"ab",
             Utf8(GetCommandLineW()) + "\n" + Utf8(std::wstring(current, n < 4096 ? n : 0)) + "\n");
}

void AppendLine(const std::wstring& directory, const std::string& line) {
  WriteBytes(directory + L"fakejad.log", L"ab", line + "\n");
}

std::string ReadMode(const std::wstring& directory) {
  std::string mode = ReadBytes(directory + L"fakejad.mode");
  while (!mode.empty() && (mode.back() == '\n' || mode.back() == '\r' || mode.back() == ' ')) {
    mode.pop_back();
  }
  return mode.empty() ? "write" : mode;
}

// The class's simple name from the constant pool (this_class), or "" when the
// bytes are no class file.
class ClassReader {
 public:
  explicit ClassReader(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}

  std::string SimpleClassName() {
    if (U4() != 0xCAFEBABE) return "";
    pos_ += 4;  // minor and major version
    unsigned count = U2();
    std::vector<std::string> utf8(count);
    std::vector<unsigned> classNameIndex(count, 0);
    for (unsigned i = 1; i < count && ok_; ++i) {
      unsigned char tag = U1();
      switch (tag) {
        case 1: {  // Utf8
          unsigned length = U2();
          if (pos_ + length > bytes_.size()) return "";
          utf8[i].assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + length);
          pos_ += length;
          break;
        }
        case 7:  // Class
          classNameIndex[i] = U2();
          break;
        case 8:
        case 16:
        case 19:
        case 20:  // String, MethodType, Module, Package
          pos_ += 2;
          break;
        case 15:  // MethodHandle
          pos_ += 3;
          break;
        case 3:
        case 4:
        case 9:
        case 10:
        case 11:
        case 12:
        case 17:
        case 18:
          pos_ += 4;
          break;
        case 5:
        case 6:  // Long and Double take two slots
          pos_ += 8;
          ++i;
          break;
        default:
          return "";
      }
    }
    pos_ += 2;  // access flags
    unsigned thisClass = U2();
    if (!ok_ || thisClass == 0 || thisClass >= count || classNameIndex[thisClass] >= count) {
      return "";
    }
    std::string name = utf8[classNameIndex[thisClass]];
    size_t slash = name.find_last_of('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
  }

 private:
  unsigned U1() {
    if (pos_ + 1 > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return bytes_[pos_++];
  }
  unsigned U2() {
    unsigned high = U1();
    return (high << 8) | U1();
  }
  unsigned U4() {
    unsigned high = U2();
    return (high << 16) | U2();
  }

  std::vector<unsigned char> bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void WriteFile(const std::wstring& name, const std::string& content) {
  WriteBytes(name, L"wb", content);
}

// The files of the current directory as "// <name> <size>" lines, sorted.
std::string CurrentDirectoryListing() {
  std::vector<std::string> lines;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      lines.push_back("// " + Utf8(found.cFileName) + " " + std::to_string(found.nFileSizeLow) +
                      "\r\n");
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  std::sort(lines.begin(), lines.end());
  std::string listing;
  for (const std::string& line : lines) listing += line;
  return listing;
}

// Two fakes of one folder meet on an event named after that folder: the first
// creates it and waits, the second sets it.
bool MeetTheOther(const std::wstring& directory) {
  unsigned long hash = 5381;
  for (wchar_t c : directory) hash = hash * 33 + static_cast<unsigned long>(c);
  std::wstring name = L"dravik-fakejad-meet-" + std::to_wstring(hash);
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  if (event == nullptr) return false;
  bool met = GetLastError() == ERROR_ALREADY_EXISTS ? SetEvent(event) != 0
                                                    : WaitForSingleObject(event, 30000) == 0;
  CloseHandle(event);
  return met;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring own = OwnDirectory();
  AppendLog(own);
  std::string mode = ReadMode(own);
  if (mode == "quick") return 0;

  // Of Jad's options only -s and its extension count; the input is the last
  // argument, whatever it looks like (a negative stamp starts with a minus).
  std::wstring extension = L"jad";
  for (int i = 1; i + 2 < argc; ++i) {
    if (std::wstring(argv[i]) == L"-s") extension = argv[++i];
  }
  std::wstring input = argc > 1 ? argv[argc - 1] : L"";
  std::string simple = ClassReader(ReadBytes(input + L".class")).SimpleClassName();
  if (simple.empty()) return 2;  // no input, or not a class file
  if (mode == "fail") return 1;
  if (mode == "nothing") return 0;

  if (mode == "slow") {
    std::string delay = ReadBytes(own + L"fakejad.delay");
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, CancelEventName(GetCurrentProcessId()).c_str());
    DWORD waited = WaitForSingleObject(
        stop != nullptr ? stop : GetCurrentProcess(),
        delay.empty() ? 2000 : static_cast<DWORD>(strtoul(delay.c_str(), nullptr, 10)));
    if (stop != nullptr) CloseHandle(stop);
    if (waited == WAIT_OBJECT_0) {
      AppendLine(own, "stopped " + Utf8(input));
      return 7;
    }
  }
  std::wstring wideSimple(simple.begin(), simple.end());
  std::wstring output = wideSimple + L"." + extension;
  if (mode == "empty") {
    WriteFile(output, "");
  } else if (mode == "nul") {
    WriteFile(output, std::string("class ", 6) + simple + std::string(" {\0}\r\n", 6));
  } else if (mode == "long") {
    WriteFile(wideSimple + std::wstring(230, L'X') + L"." + extension,
              "class " + simple + " {}\r\n");
  } else if (mode == "source") {
    // Asked for Kotlin (an extension ending in ".kt"): fakejad.kotlin, when it is there.
    const bool kotlin =
        extension.size() >= 3 && extension.compare(extension.size() - 3, 3, L".kt") == 0;
    std::string kotlinText = kotlin ? ReadBytes(own + L"fakejad.kotlin") : "";
    WriteFile(output, !kotlinText.empty() ? kotlinText : ReadBytes(own + L"fakejad.source"));
  } else if (mode == "listing" || mode == "meet") {
    bool met = mode == "meet" && MeetTheOther(own);
    WriteFile(output, "class " + simple + " {}\r\n" + CurrentDirectoryListing() +
                          (met ? "// met\r\n" : ""));
  } else if (mode == "two") {
    WriteFile(output, "class " + simple + " {}\r\n");
    WriteFile(wideSimple + L"Twin." + extension, "class " + simple + "Twin {}\r\n");
  } else {
    WriteFile(output, "class " + simple + " {}\r\n");
  }
  if (mode == "hang") Sleep(INFINITE);
  if (mode == "slow") AppendLine(own, "done " + Utf8(input));
  return 0;
}
