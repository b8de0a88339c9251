#include "bridge/class_file.h"

namespace {

enum : unsigned char { TagUtf8 = 1, TagClass = 7, TagLong = 5, TagDouble = 6 };

// The bytes a constant of each tag takes after its tag; 0 for Utf8 (its own
// length) and for tags the format does not know.
size_t ConstantSize(unsigned char tag) {
  switch (tag) {
    case 7:   // Class
    case 8:   // String
    case 16:  // MethodType
    case 19:  // Module
    case 20:  // Package
      return 2;
    case 15:  // MethodHandle
      return 3;
    case 3:   // Integer
    case 4:   // Float
    case 9:   // Fieldref
    case 10:  // Methodref
    case 11:  // InterfaceMethodref
    case 12:  // NameAndType
    case 17:  // Dynamic
    case 18:  // InvokeDynamic
      return 4;
    case 5:  // Long
    case 6:  // Double
      return 8;
    default:
      return 0;
  }
}

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

// The UTF-16 code units that modified UTF-8 encodes (each unit in one to three
// bytes, a zero as C0 80); false on a byte sequence the format does not allow.
bool DecodeModifiedUtf8(const unsigned char* bytes, size_t length, std::vector<uint16_t>* units) {
  for (size_t i = 0; i < length;) {
    unsigned char first = bytes[i];
    if (first != 0 && first < 0x80) {
      units->push_back(first);
      i += 1;
    } else if ((first & 0xE0) == 0xC0 && i + 1 < length && (bytes[i + 1] & 0xC0) == 0x80) {
      units->push_back(static_cast<uint16_t>(((first & 0x1F) << 6) | (bytes[i + 1] & 0x3F)));
      i += 2;
    } else if ((first & 0xF0) == 0xE0 && i + 2 < length && (bytes[i + 1] & 0xC0) == 0x80 &&
               (bytes[i + 2] & 0xC0) == 0x80) {
      units->push_back(static_cast<uint16_t>(((first & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                             (bytes[i + 2] & 0x3F)));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

// UTF-16 units as UTF-8, surrogate pairs joined; false on a lone surrogate.
bool UnitsToUtf8(const std::vector<uint16_t>& units, std::string* out) {
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00), out);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      return false;
    } else {
      AppendUtf8(unit, out);
    }
  }
  return true;
}

// The u2 at the start of a constant's payload.
uint32_t U2At(const unsigned char* bytes, size_t at) {
  return (static_cast<uint32_t>(bytes[at]) << 8) | bytes[at + 1];
}

}  // namespace

uint32_t ByteReader::Read(int count) {
  if (failed_ || size_ - position_ < static_cast<size_t>(count)) {
    failed_ = true;
    return 0;
  }
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes_[position_++];
  return value;
}

void ByteReader::Skip(size_t count) {
  if (failed_ || size_ - position_ < count) {
    failed_ = true;
    return;
  }
  position_ += count;
}

bool ConstantPool::Utf8(uint32_t index, std::string* text) const {
  if (index == 0 || index >= tags.size() || tags[index] != TagUtf8) return false;
  std::vector<uint16_t> units;
  text->clear();
  return DecodeModifiedUtf8(bytes + offsets[index] + 2, U2At(bytes, offsets[index]), &units) &&
         UnitsToUtf8(units, text);
}

bool ConstantPool::ClassName(uint32_t index, std::string* name) const {
  if (index == 0 || index >= tags.size() || tags[index] != TagClass) return false;
  return Utf8(U2At(bytes, offsets[index]), name);
}

bool ReadConstantPool(ByteReader* reader, const unsigned char* bytes, ConstantPool* pool) {
  if (reader->Read(4) != 0xCAFEBABE) return false;
  reader->Skip(4);  // minor and major version
  uint32_t count = reader->Read(2);
  pool->bytes = bytes;
  pool->tags.assign(count, 0);
  pool->offsets.assign(count, 0);
  for (uint32_t i = 1; i < count && !reader->failed(); ++i) {
    unsigned char tag = static_cast<unsigned char>(reader->Read(1));
    pool->tags[i] = tag;
    pool->offsets[i] = reader->position();
    if (tag == TagUtf8) {
      reader->Skip(reader->Read(2));
    } else if (ConstantSize(tag) == 0) {
      return false;
    } else {
      reader->Skip(ConstantSize(tag));
      if (tag == TagLong || tag == TagDouble) ++i;  // they take two slots
    }
  }
  return !reader->failed();
}
