#include "sideviews/line_numbers.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

const char kCR = '\r';
const char kLF = '\n';

int CountDigits(int64_t value) {
  int digits = 1;
  for (int64_t limit = 10; value >= limit; limit *= 10) {
    ++digits;
  }
  return digits;
}

// A CR is a break; so is an LF that does not follow a CR (an LF at the very
// start follows nothing), so CR LF counts once. Walks run by run to the NUL,
// whose position gives the real length.
int64_t CountBreaks(const char* text, size_t* realLength) {
  int64_t breaks = 0;
  const char* p = text;
  for (;;) {
    p += strcspn(p, "\r\n");
    if (*p == '\0') {
      break;
    }
    ++breaks;
    if (p[0] == kCR && p[1] == kLF) {
      ++p;
    }
    ++p;
  }
  *realLength = static_cast<size_t>(p - text);
  return breaks;
}

}  // namespace

char* WriteLineNumber(char* destination, int number, int width) {
  char digits[16];
  int count = 0;
  unsigned value = static_cast<unsigned>(number);
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  char* out = destination;
  for (int i = count; i < width; ++i) {
    *out++ = '0';
  }
  while (count > 0) {
    *out++ = digits[--count];
  }
  *out++ = ':';
  *out++ = ' ';
  *out = '\0';
  return out;
}

char* NumberLines(const char* text, int length) {
  if (text == nullptr) {
    return nullptr;
  }
  // First pass: the line count, which fixes the width of every prefix.
  size_t realLength = 0;
  int64_t lines = 1 + CountBreaks(text, &realLength);
  int width = CountDigits(lines);

  // A length below the real count would let the second pass run past the
  // buffer; the real count is the least the result needs.
  int64_t textBytes = length;
  if (textBytes < static_cast<int64_t>(realLength)) {
    textBytes = static_cast<int64_t>(realLength);
  }
  int64_t size = textBytes + lines * (width + 2) + 1;
  if (size > INT_MAX) {
    return nullptr;
  }
  char* result = static_cast<char*>(malloc(static_cast<size_t>(size)));
  if (result == nullptr) {
    return nullptr;
  }

  // Second pass: copy the runs between breaks whole, writing each break as CR
  // (or CR LF where the text had CR LF) followed by the next prefix.
  int line = 1;
  char* out = WriteLineNumber(result, line, width);
  const char* in = text;
  const char* end = text + realLength;
  while (in < end) {
    size_t run = strcspn(in, "\r\n");
    memcpy(out, in, run);
    out += run;
    in += run;
    if (in == end) {
      break;
    }
    *out++ = kCR;
    if (*in == kCR && in[1] == kLF) {
      *out++ = kLF;
      ++in;
    }
    ++in;
    out = WriteLineNumber(out, ++line, width);
  }
  *out = '\0';
  return result;
}
