// A class file's constant pool: every entry read and every reference between
// entries checked, so that a pool that reads whole answers each question about
// an index it has checked without another check.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "classfile/byte_reader.h"

enum ConstantTag : uint8_t {
  kUtf8 = 1,
  kInteger = 3,
  kFloat = 4,
  kLong = 5,
  kDouble = 6,
  kClass = 7,
  kString = 8,
  kFieldref = 9,
  kMethodref = 10,
  kInterfaceMethodref = 11,
  kNameAndType = 12,
  kMethodHandle = 15,
  kMethodType = 16,
  kDynamic = 17,
  kInvokeDynamic = 18,
  kModule = 19,
  kPackage = 20,
};

// A set of tags, for the checks that accept more than one.
constexpr uint32_t TagBit(ConstantTag tag) { return 1u << tag; }

// One entry. Its fields by tag:
//   Utf8: text (UTF-8, see DecodeModifiedUtf8);
//   Integer, Float: bits (the 32 bits); Long, Double: bits (the 64 bits);
//   Class, String, MethodType, Module, Package: first (the Utf8 entry);
//   Fieldref, Methodref, InterfaceMethodref: first (the Class), second (the
//   NameAndType); NameAndType: first (name), second (descriptor);
//   MethodHandle: first (the reference kind, 1 to 9), second (the reference);
//   Dynamic, InvokeDynamic: first (the bootstrap method's number), second (the
//   NameAndType).
// The second slot of a Long or Double has tag 0.
struct Constant {
  uint8_t tag = 0;
  uint16_t first = 0;
  uint16_t second = 0;
  uint64_t bits = 0;
  std::string text;
};

struct ConstantPool {
  std::vector<Constant> entries;  // entries[0] is unused, as in the class file

  // The entry at index, or nullptr for 0, an index past the pool and the second
  // slot of a Long or Double.
  const Constant* Get(uint32_t index) const;
  bool Is(uint32_t index, uint32_t tags) const;

  // For indices a check has passed: the Utf8's text, and the name behind a
  // Class, Module, Package, String or MethodType ("" for any other entry).
  const std::string& Utf8(uint32_t index) const;
  const std::string& NameOf(uint32_t index) const;
};

// The tag's name as the format calls it ("Methodref"), "tag 2" for one it
// does not know.
std::string ConstantTagName(uint8_t tag);

// Reads the count and the entries from reader and checks each reference
// between them; false with a sentence in *error when the pool is cut short or
// damaged.
bool ReadConstantPool(ByteReader* reader, ConstantPool* pool, std::string* error);

// True when index names an entry of one of tags; otherwise false with a
// sentence in *error that says where the index stands ("in method foo").
bool CheckConstant(const ConstantPool& pool, uint32_t index, uint32_t tags,
                   const std::string& where, std::string* error);
