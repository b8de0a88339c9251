#include "decompile/output_text.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

const WCHAR kMalformedNote[] =
    L"// dravik: this decompiler output is marked as UTF-8 but is not valid UTF-8; "
    L"each malformed byte shows as \xFFFD.\r\n";

}  // namespace

bool HasUtf8Mark(const char* text) {
  return text != nullptr && strncmp(text, "\xEF\xBB\xBF", 3) == 0;
}

WCHAR* WideFromOutput(const char* text) {
  if (HasUtf8Mark(text)) return WideFromUtf8Output(text);
  int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 0) units = 1;
  WCHAR* wide = static_cast<WCHAR*>(malloc(static_cast<size_t>(units) * sizeof(WCHAR)));
  if (wide == nullptr) return nullptr;
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, units) <= 0) wide[0] = L'\0';
  return wide;
}

WCHAR* WideFromUtf8Output(const char* text) {
  const char* bytes = text + 3;
  size_t byteCount = strlen(bytes);
  // ReadWholeFile holds no more than 2 GiB; every byte becomes at most one unit.
  if (byteCount >= INT_MAX) return nullptr;
  int length = static_cast<int>(byteCount);
  int exact = length == 0
                  ? 0
                  : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  bool malformed = length > 0 && exact == 0;
  size_t noteLength = malformed ? wcslen(kMalformedNote) : 0;
  // Without MB_ERR_INVALID_CHARS the system puts U+FFFD for what is not UTF-8.
  int units = malformed ? MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0) : exact;
  if (units < 0) units = 0;
  WCHAR* wide =
      static_cast<WCHAR*>(malloc((noteLength + static_cast<size_t>(units) + 1) * sizeof(WCHAR)));
  if (wide == nullptr) return nullptr;
  wmemcpy(wide, kMalformedNote, noteLength);
  int written = units > 0 ? MultiByteToWideChar(CP_UTF8, malformed ? 0 : MB_ERR_INVALID_CHARS,
                                                bytes, length, wide + noteLength, units)
                          : 0;
  wide[noteLength + static_cast<size_t>(written > 0 ? written : 0)] = L'\0';
  return wide;
}
