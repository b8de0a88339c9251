#include "host/ansi_to_wide.h"

WCHAR* AnsiToWide(const char* name, WCHAR* buffer) {
  if (name == nullptr) {
    return nullptr;
  }
  // A name that does not fit whole becomes an empty one: cut short, it could
  // name another file, and on overflow the call may leave the buffer filled in
  // part or not at all.
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, buffer, AnsiToWideChars) == 0) {
    buffer[0] = L'\0';
  }
  buffer[AnsiToWideChars - 1] = L'\0';
  return buffer;
}
