#include "decompile/long_path_names.h"

namespace {

const wchar_t LocalPrefix[] = L"\\\\?\\";
const wchar_t NetworkPrefix[] = L"\\\\?\\UNC";

// Length of text within the first limit characters; limit when none ends there.
int BoundedLength(const wchar_t* text, int limit) {
  int n = 0;
  while (n < limit && text[n] != L'\0') {
    ++n;
  }
  return n;
}

}  // namespace

wchar_t* BoundedWideCopy(wchar_t* destination, const wchar_t* source, int size) {
  if (size <= 0) {
    return destination;
  }
  int i = 0;
  for (; i < size - 1 && source[i] != L'\0'; ++i) {
    destination[i] = source[i];
  }
  destination[i] = L'\0';
  return destination;
}

wchar_t* BoundedWideAppend(wchar_t* destination, const wchar_t* source, int size) {
  if (size <= 0) {
    return destination;
  }
  // The destination is only ever read within its own size.
  int length = BoundedLength(destination, size);
  if (length >= size - 1) {
    destination[size - 1] = L'\0';
    return destination;
  }
  BoundedWideCopy(destination + length, source, size - length);
  return destination;
}

int WholeWideAppend(wchar_t* destination, const wchar_t* source, int size) {
  if (size <= 0) {
    return 0;
  }
  int length = BoundedLength(destination, size);
  int room = size - 1 - length;
  if (room < 0 || BoundedLength(source, room + 1) > room) {
    return 0;
  }
  BoundedWideCopy(destination + length, source, room + 1);
  return 1;
}

int MakeLongPathSized(wchar_t* destination, const wchar_t* path, int size) {
  if (path == nullptr) {
    BoundedWideCopy(destination, L"", size);
    return 0;
  }
  size_t n = wcslen(path);
  size_t composed = n;
  if (n < LongPathThreshold) {
    BoundedWideCopy(destination, path, size);
  } else if (path[0] == L'\\' && path[1] == L'\\') {
    // \\server\share becomes \\?\UNC\server\share: the first backslash goes.
    BoundedWideCopy(destination, NetworkPrefix, size);
    BoundedWideAppend(destination, path + 1, size);
    composed = n - 1 + (sizeof NetworkPrefix / sizeof(wchar_t) - 1);
  } else {
    BoundedWideCopy(destination, LocalPrefix, size);
    BoundedWideAppend(destination, path, size);
    composed = n + (sizeof LocalPrefix / sizeof(wchar_t) - 1);
  }
  return size > 0 && composed <= static_cast<size_t>(size - 1) ? 1 : 0;
}

int MakeLongPath(wchar_t* destination, const wchar_t* path) {
  return MakeLongPathSized(destination, path, LongPathBufferChars);
}
