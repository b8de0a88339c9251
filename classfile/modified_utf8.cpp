#include "classfile/modified_utf8.h"

#include <stdint.h>

namespace {

void AppendUtf8(uint32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    out->push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The UTF-16 unit at bytes[*i], advancing *i; false on a form not allowed.
bool NextUnit(const unsigned char* bytes, size_t length, size_t* i, uint32_t* unit) {
  unsigned char first = bytes[*i];
  if (first != 0 && first < 0x80) {
    *unit = first;
    *i += 1;
  } else if ((first & 0xE0) == 0xC0 && *i + 1 < length && IsContinuation(bytes[*i + 1])) {
    *unit = ((first & 0x1Fu) << 6) | (bytes[*i + 1] & 0x3Fu);
    *i += 2;
  } else if ((first & 0xF0) == 0xE0 && *i + 2 < length && IsContinuation(bytes[*i + 1]) &&
             IsContinuation(bytes[*i + 2])) {
    *unit = ((first & 0x0Fu) << 12) | ((bytes[*i + 1] & 0x3Fu) << 6) | (bytes[*i + 2] & 0x3Fu);
    *i += 3;
  } else {
    return false;
  }
  return true;
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool DecodeModifiedUtf8(const unsigned char* bytes, size_t length, std::string* out) {
  out->reserve(out->size() + length);
  uint32_t pending = 0;  // a high surrogate waiting for its low half
  for (size_t i = 0; i < length;) {
    uint32_t unit;
    if (!NextUnit(bytes, length, &i, &unit)) return false;
    if (pending != 0 && IsLowSurrogate(unit)) {
      AppendUtf8(0x10000 + ((pending - 0xD800) << 10) + (unit - 0xDC00), out);
      pending = 0;
      continue;
    }
    if (pending != 0) AppendUtf8(pending, out);
    pending = IsHighSurrogate(unit) ? unit : 0;
    if (pending == 0) AppendUtf8(unit, out);
  }
  if (pending != 0) AppendUtf8(pending, out);
  return true;
}

std::string LoneSurrogatesAsQuestionMarks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // A surrogate's three-byte form: ED A0..BF xx.
    if (static_cast<unsigned char>(text[i]) == 0xED && i + 2 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0xA0) {
      out.push_back('?');
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}
