// Big-endian numbers from bytes that may be cut short or made up: a read past
// the end fails, gives 0 and leaves every later read failing too, so a caller
// checks failed() once after a run of reads.
#pragma once

#include <stddef.h>
#include <stdint.h>

class ByteReader {
 public:
  ByteReader(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool failed() const { return failed_; }
  size_t position() const { return position_; }
  size_t remaining() const { return size_ - position_; }

  uint8_t U1() { return static_cast<uint8_t>(Read(1)); }
  uint16_t U2() { return static_cast<uint16_t>(Read(2)); }
  uint32_t U4() { return static_cast<uint32_t>(Read(4)); }

  // A two-byte count of entries that take at least each bytes; fails (and
  // gives 0) when they cannot all follow, so that no table is made for a
  // count that was made up.
  uint16_t Count(size_t each) {
    uint16_t count = U2();
    if (!failed_ && remaining() / each < count) failed_ = true;
    return failed_ ? 0 : count;
  }

  // The next count bytes, or nullptr (and failed) when fewer are left.
  const unsigned char* Take(size_t count) {
    if (failed_ || remaining() < count) {
      failed_ = true;
      return nullptr;
    }
    const unsigned char* at = bytes_ + position_;
    position_ += count;
    return at;
  }

 private:
  uint64_t Read(size_t count) {
    const unsigned char* at = Take(count);
    uint64_t value = 0;
    for (size_t i = 0; at && i < count; ++i) value = (value << 8) | at[i];
    return value;
  }

  const unsigned char* bytes_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};
