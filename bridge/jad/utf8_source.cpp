#include "bridge/jad/utf8_source.h"

#include <stdint.h>

namespace {

const char kMark[] = "\xEF\xBB\xBF";
const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

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

// A Unicode escape at text[at] (a backslash, one or more u, four hex digits):
// its UTF-16 unit and its length.
bool ReadUnicodeEscape(const std::string& text, size_t at, unsigned* unit, size_t* length) {
  size_t p = at + 1;
  if (p >= text.size() || text[p] != 'u') return false;
  while (p < text.size() && text[p] == 'u') ++p;
  if (text.size() - p < 4) return false;
  unsigned value = 0;
  for (size_t i = p; i < p + 4; ++i) {
    char h = text[i];
    unsigned digit = (h >= '0' && h <= '9')   ? static_cast<unsigned>(h - '0')
                     : (h >= 'a' && h <= 'f') ? static_cast<unsigned>(h - 'a' + 10)
                     : (h >= 'A' && h <= 'F') ? static_cast<unsigned>(h - 'A' + 10)
                                              : 16u;
    if (digit > 15) return false;
    value = value * 16 + digit;
  }
  *unit = value;
  *length = p + 4 - at;
  return true;
}

// An escaped surrogate pair at text[at] (Vineflower writes each half of a
// character beyond the BMP as an escape, which Java reads as that character):
// its code point and length.
bool ReadEscapedPair(const std::string& text, size_t at, char32_t* codePoint, size_t* length) {
  unsigned high, low;
  size_t first, second;
  if (!ReadUnicodeEscape(text, at, &high, &first) || high < 0xD800 || high > 0xDBFF) return false;
  if (at + first >= text.size() || text[at + first] != '\\') return false;
  if (!ReadUnicodeEscape(text, at + first, &low, &second) || low < 0xDC00 || low > 0xDFFF) {
    return false;
  }
  *codePoint = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
  *length = first + second;
  return true;
}

void AppendUtf8(char32_t c, std::string* out) {
  out->push_back(static_cast<char>(0xF0 | (c >> 18)));
  out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
  out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
  out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
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

std::string ToUtf8Source(const std::string& text) {
  std::string out(kMark);
  out.reserve(text.size() + text.size() / 16 + 8);
  size_t at = text.compare(0, 3, kMark) == 0 ? 3 : 0;
  bool afterCr = false;
  // Backslashes just before at: Java reads a backslash behind an odd number
  // of them as escaped, never as the start of a Unicode escape.
  size_t backslashes = 0;
  while (at < text.size()) {
    char32_t c;
    size_t length;
    if (!DecodeOne(text, at, &c, &length)) {
      out.append(kReplacement);
      afterCr = false;
      backslashes = 0;
      ++at;
      continue;
    }
    if (c == '\\' && backslashes % 2 == 0 && ReadEscapedPair(text, at, &c, &length)) {
      AppendUtf8(c, &out);
      afterCr = false;
      backslashes = 0;
      at += length;
      continue;
    }
    backslashes = c == '\\' ? backslashes + 1 : 0;
    if (c == '\n' && afterCr) {
      afterCr = false;  // the LF of a CR LF already written
    } else if (c == '\r' || c == '\n') {
      out.append("\r\n");
      afterCr = c == '\r';
    } else if (c == 0) {
      // A zero byte would end the plugin's text early.
      out.append("\\u0000");
      afterCr = false;
    } else {
      out.append(text, at, length);
      afterCr = false;
    }
    at += length;
  }
  return out;
}
