// The extended-length rewriting and the bounded wide copies, each into a
// destination of exactly the size it is told (the sanitizer catches any write
// past it). The result of MakeLongPathSized is checked against the composed
// path: complete and reported so, or cut and reported so.
#include <stdlib.h>
#include <wchar.h>

#include <string>

#include "decompile/long_path_names.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::wstring Composed(const std::wstring& path) {
  if (path.size() < LongPathThreshold) return path;
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    return L"\\\\?\\UNC" + path.substr(1);
  }
  return L"\\\\?\\" + path;
}

void CheckMakeLongPath(int room, const std::wstring& path) {
  wchar_t* destination = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * (room > 0 ? room : 1)));
  int complete = MakeLongPathSized(destination, path.c_str(), room);
  if (room <= 0) {
    if (complete) abort();
  } else {
    std::wstring expected = Composed(path);
    std::wstring got(destination, wcsnlen(destination, room));
    if (got.size() > static_cast<size_t>(room - 1)) abort();
    bool fits = expected.size() <= static_cast<size_t>(room - 1);
    if ((complete != 0) != fits) abort();
    if (got != expected.substr(0, got.size())) abort();
    if (fits && got != expected) abort();
  }
  free(destination);
}

void CheckAppend(int room, int already, const std::wstring& source) {
  if (room <= 0) return;
  wchar_t* destination = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * room));
  // Text already there, sometimes filling the buffer without a terminator.
  for (int i = 0; i < room; ++i) destination[i] = L'a';
  if (already < room) destination[already] = L'\0';
  BoundedWideAppend(destination, source.c_str(), room);
  size_t length = wcsnlen(destination, room);
  if (length > static_cast<size_t>(room - 1)) abort();
  size_t kept = already < room - 1 ? already : room - 1;
  size_t expected =
      kept + source.size() < static_cast<size_t>(room - 1) ? kept + source.size() : room - 1;
  if (length != expected) abort();
  free(destination);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  int room = input.Number() % 1100 - 20;
  int already = input.Number() % 1100;
  std::wstring path = input.RestAsWideText();
  // Paths around the threshold and the extended limit, whatever the input's length.
  if (!path.empty() && path.size() < 200 && (room & 1)) {
    path.append(static_cast<size_t>(room % 900) + 60, path.back());
  }
  CheckMakeLongPath(room, path);
  CheckMakeLongPath(LongPathBufferChars, path);
  CheckAppend(room, already, path);

  if (room > 0) {
    wchar_t* copy = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * room));
    BoundedWideCopy(copy, path.c_str(), room);
    size_t length = wcsnlen(copy, room);
    if (length != (path.size() < static_cast<size_t>(room - 1) ? path.size() : room - 1)) abort();
    free(copy);
  }
  return 0;
}
