// The parts of a class file the bridge reads, taken from bytes that may be
// cut short or made up: nothing is read past their end, and a read that would
// go there fails.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// Reads big-endian numbers; a read past the end sets failed and gives 0.
class ByteReader {
 public:
  ByteReader(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool failed() const { return failed_; }
  size_t position() const { return position_; }

  uint32_t Read(int count);
  void Skip(size_t count);

 private:
  const unsigned char* bytes_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};

// A class file's constant pool as read by ReadConstantPool: each entry's tag
// and where its payload starts in the class file's bytes.
struct ConstantPool {
  const unsigned char* bytes = nullptr;
  std::vector<unsigned char> tags;
  std::vector<size_t> offsets;

  // The text of a Utf8 entry in UTF-8 (the class file holds modified
  // UTF-8); false when index is no such entry or its bytes do not decode.
  bool Utf8(uint32_t index, std::string* text) const;
  // The name of a Class entry ("demo/Outer$Inner"); false as above.
  bool ClassName(uint32_t index, std::string* name) const;
};

// Reads the magic number, the version and the constant pool, leaving reader
// after it; false when the bytes are no class file or it is cut short.
bool ReadConstantPool(ByteReader* reader, const unsigned char* bytes, ConstantPool* pool);
