// NumberLines on any text and any length not below the text's own: the
// result must fill exactly the bytes the numbering needs (the sanitizer
// catches any write past the allocation), keep every byte of the text but the
// breaks, and number the lines 1 to the line count.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "sideviews/line_numbers.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  int slack = input.Number() % 64;  // a length above the real count only sizes the buffer
  std::string text = input.RestAsText();

  long breaks = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))) ++breaks;
  }
  long lines = breaks + 1;
  long width = 1;
  for (long limit = 10; lines >= limit; limit *= 10) ++width;

  char* numbered = NumberLines(text.c_str(), static_cast<int>(text.size()) + slack);
  if (numbered == nullptr) abort();
  std::string result(numbered);
  free(numbered);
  if (result.size() != text.size() + static_cast<size_t>(lines * (width + 2))) abort();

  // Take the prefixes out again: each must carry the next number.
  std::string rest;
  long expectedNumber = 1;
  size_t at = 0;
  while (at <= result.size()) {
    std::string number = result.substr(at, width);
    if (result.compare(at + width, 2, ": ") != 0) abort();
    if (atol(number.c_str()) != expectedNumber++) abort();
    at += width + 2;
    size_t end = result.find_first_of("\r", at);
    if (end == std::string::npos) {
      rest += result.substr(at);
      break;
    }
    bool crlf = end + 1 < result.size() && result[end + 1] == '\n';
    rest += result.substr(at, end - at);
    rest += crlf ? "\r\n" : "\r";
    at = end + (crlf ? 2 : 1);
  }
  if (expectedNumber - 1 != lines) abort();
  // The text itself, with each lone LF written as CR.
  std::string written = text;
  for (size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\n' && (i == 0 || text[i - 1] != '\r')) written[i] = '\r';
  }
  if (rest != written) abort();
  return 0;
}
