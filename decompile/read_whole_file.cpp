#include "decompile/read_whole_file.h"

#include <stdlib.h>
#include <string.h>

#include "decompile/long_path.h"

char* ReadWholeFile(const WCHAR* path) {
  HANDLE file = LongPathCreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return nullptr;
  }
  DWORD count = 0;
  char* text = ReadOpenFileText(file, &count);
  CloseHandle(file);
  return text;
}

char* ReadOpenFileText(HANDLE file, DWORD* count) {
  // Only the low 32 bits of the length count.
  DWORD size = GetFileSize(file, nullptr);
  if (size >= 0x7FFFFFFF) {
    return nullptr;
  }
  char* text = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
  if (text == nullptr) {
    return nullptr;
  }
  DWORD read = 0;
  ReadFile(file, text, size, &read, nullptr);
  if (read > size) {
    read = size;
  }
  text[read] = '\0';
  // A zero byte among the bytes read would cut the text short unseen.
  if (strlen(text) != read) {
    free(text);
    return nullptr;
  }
  *count = read;
  return text;
}
