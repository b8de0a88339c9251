#include "bridge/ansi_source.h"

#include <stdint.h>
#include <stdio.h>

namespace {

// The code point at text[*at] and its length, or false for a malformed one.
bool DecodeOne(const std::string& text, size_t at, char32_t* codePoint, size_t* length) {
  unsigned char first = static_cast<unsigned char>(text[at]);
  size_t need;
  char32_t value;
  char32_t least;
  if (first < 0x80) {
    *codePoint = first;
    *length = 1;
    return true;
  } else if ((first & 0xE0) == 0xC0) {
    need = 1, value = first & 0x1F, least = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    need = 2, value = first & 0x0F, least = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    need = 3, value = first & 0x07, least = 0x10000;
  } else {
    return false;
  }
  if (text.size() - at - 1 < need) return false;
  for (size_t i = 1; i <= need; ++i) {
    unsigned char next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *codePoint = value;
  *length = need + 1;
  return true;
}

void AppendEscape(unsigned unit, std::string* out) {
  char escape[8];
  snprintf(escape, sizeof escape, "\\u%04x", unit & 0xFFFF);
  out->append(escape);
}

// One character of the source as ANSI; line ends are the caller's.
void AppendCharacter(char32_t codePoint, const AnsiEncoder& encode, std::string* out) {
  if (codePoint == 0) {
    AppendEscape(0, out);
  } else if (codePoint < 0x80) {
    out->push_back(static_cast<char>(codePoint));
  } else if (!encode(codePoint, out)) {
    if (codePoint < 0x10000) {
      AppendEscape(codePoint, out);
    } else {
      char32_t offset = codePoint - 0x10000;
      AppendEscape(0xD800 + (offset >> 10), out);
      AppendEscape(0xDC00 + (offset & 0x3FF), out);
    }
  }
}

// Writes CR LF for every kind of line end in characters of text that
// nextCharacter hands out one at a time (false at the end).
template <typename Next>
std::string WithCrLf(Next nextCharacter, const AnsiEncoder& encode) {
  std::string out;
  char32_t c;
  bool afterCr = false;
  while (nextCharacter(&c)) {
    if (c == '\n' && afterCr) {
      afterCr = false;
      continue;  // the LF of a CR LF already written
    }
    afterCr = c == '\r';
    if (c == '\r' || c == '\n') {
      out.append("\r\n");
    } else {
      AppendCharacter(c, encode, &out);
    }
  }
  return out;
}

}  // namespace

bool IsUtf8(const std::string& text) {
  char32_t c;
  size_t length;
  for (size_t at = 0; at < text.size(); at += length) {
    if (!DecodeOne(text, at, &c, &length)) return false;
  }
  return true;
}

std::string ToAnsiSource(const std::string& text, const AnsiEncoder& encode) {
  size_t at = 0;
  if (!IsUtf8(text)) {
    // Bytes of the code page already: only line ends and zeros change.
    auto nextByte = [&](char32_t* c) {
      if (at >= text.size()) return false;
      *c = static_cast<unsigned char>(text[at++]);
      return true;
    };
    AnsiEncoder keep = [](char32_t c, std::string* bytes) {
      bytes->push_back(static_cast<char>(c));
      return true;
    };
    return WithCrLf(nextByte, keep);
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;
  auto nextCodePoint = [&](char32_t* c) {
    size_t length;
    if (at >= text.size() || !DecodeOne(text, at, c, &length)) return false;
    at += length;
    return true;
  };
  return WithCrLf(nextCodePoint, encode);
}
