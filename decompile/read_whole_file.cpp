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
  // Only the low 32 bits of the length count.
  DWORD size = GetFileSize(file, nullptr);
  char* text = nullptr;
  if (size < 0x7FFFFFFF) {
    text = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
  }
  if (text != nullptr) {
    DWORD read = 0;
    ReadFile(file, text, size, &read, nullptr);
    if (read > size) {
      read = size;
    }
    text[read] = '\0';
    // A zero byte among the bytes read would cut the text short unseen.
    if (strlen(text) != read) {
      free(text);
      text = nullptr;
    }
  }
  CloseHandle(file);
  return text;
}
