// Takes a fuzz input apart: small numbers first, then the rest as text.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // A number from the next two bytes (0 when the input has run out).
  int Number() {
    int value = 0;
    for (int i = 0; i < 2; ++i) value = (value << 8) | (position_ < size_ ? data_[position_++] : 0);
    return value;
  }

  // The rest of the input as 8-bit text, ending at its first zero byte.
  std::string RestAsText() {
    std::string text;
    while (position_ < size_ && data_[position_] != 0)
      text += static_cast<char>(data_[position_++]);
    position_ = size_;
    return text;
  }

  // The rest, two bytes a character, as a wide text ending at its first zero.
  std::wstring RestAsWideText() {
    std::wstring text;
    while (position_ + 1 < size_) {
      wchar_t c = static_cast<wchar_t>(data_[position_] | (data_[position_ + 1] << 8));
      position_ += 2;
      if (c == 0) break;
      text += c;
    }
    position_ = size_;
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};
