#include "classfile/constant_pool.h"

#include <algorithm>

#include "classfile/modified_utf8.h"

namespace {

const std::string kNoText;

// The bytes an entry of tag takes after its tag; 0 for Utf8 (its own length)
// and for tags the format does not know.
size_t PayloadSize(uint8_t tag) {
  switch (tag) {
    case kClass:
    case kString:
    case kMethodType:
    case kModule:
    case kPackage:
      return 2;
    case kMethodHandle:
      return 3;
    case kInteger:
    case kFloat:
    case kFieldref:
    case kMethodref:
    case kInterfaceMethodref:
    case kNameAndType:
    case kDynamic:
    case kInvokeDynamic:
      return 4;
    case kLong:
    case kDouble:
      return 8;
    default:
      return 0;
  }
}

std::string Entry(uint32_t index) { return "constant pool entry " + std::to_string(index); }

// The tags a MethodHandle of each reference kind may point at; 0 for a kind
// the format does not know.
uint32_t HandleTargets(uint16_t kind) {
  switch (kind) {
    case 1:  // getField
    case 2:  // getStatic
    case 3:  // putField
    case 4:  // putStatic
      return TagBit(kFieldref);
    case 5:  // invokeVirtual
    case 8:  // newInvokeSpecial
      return TagBit(kMethodref);
    case 6:  // invokeStatic
    case 7:  // invokeSpecial
      return TagBit(kMethodref) | TagBit(kInterfaceMethodref);
    case 9:  // invokeInterface
      return TagBit(kInterfaceMethodref);
    default:
      return 0;
  }
}

// The references of an entry to other entries: up to two (index, tags) pairs.
struct References {
  uint32_t index[2] = {0, 0};
  uint32_t tags[2] = {0, 0};
};

References ReferencesOf(const Constant& c) {
  References r;
  switch (c.tag) {
    case kClass:
    case kString:
    case kMethodType:
    case kModule:
    case kPackage:
      r.index[0] = c.first;
      r.tags[0] = TagBit(kUtf8);
      break;
    case kFieldref:
    case kMethodref:
    case kInterfaceMethodref:
      r.index[0] = c.first;
      r.tags[0] = TagBit(kClass);
      r.index[1] = c.second;
      r.tags[1] = TagBit(kNameAndType);
      break;
    case kNameAndType:
      r.index[0] = c.first;
      r.tags[0] = TagBit(kUtf8);
      r.index[1] = c.second;
      r.tags[1] = TagBit(kUtf8);
      break;
    case kMethodHandle:
      r.index[0] = c.second;
      r.tags[0] = HandleTargets(c.first);
      break;
    case kDynamic:
    case kInvokeDynamic:
      r.index[0] = c.second;
      r.tags[0] = TagBit(kNameAndType);
      break;
    default:
      break;
  }
  return r;
}

// Checks the references of the entry at index to other entries.
bool CheckReferences(const ConstantPool& pool, uint32_t index, std::string* error) {
  const Constant& c = pool.entries[index];
  if (c.tag == kMethodHandle && HandleTargets(c.first) == 0) {
    *error = "The reference kind " + std::to_string(c.first) + " in " + Entry(index) +
             " (MethodHandle) is unknown.";
    return false;
  }
  References r = ReferencesOf(c);
  for (int i = 0; i < 2; ++i) {
    if (r.tags[i] == 0 || pool.Is(r.index[i], r.tags[i])) continue;
    return CheckConstant(pool, r.index[i], r.tags[i],
                         "in " + Entry(index) + " (" + ConstantTagName(c.tag) + ")", error);
  }
  return true;
}

}  // namespace

const Constant* ConstantPool::Get(uint32_t index) const {
  if (index == 0 || index >= entries.size() || entries[index].tag == 0) return nullptr;
  return &entries[index];
}

bool ConstantPool::Is(uint32_t index, uint32_t tags) const {
  const Constant* c = Get(index);
  return c && (TagBit(static_cast<ConstantTag>(c->tag)) & tags) != 0;
}

const std::string& ConstantPool::Utf8(uint32_t index) const {
  const Constant* c = Get(index);
  return c && c->tag == kUtf8 ? c->text : kNoText;
}

const std::string& ConstantPool::NameOf(uint32_t index) const {
  if (!Is(index, TagBit(kClass) | TagBit(kModule) | TagBit(kPackage) | TagBit(kString) |
                     TagBit(kMethodType))) {
    return kNoText;
  }
  return Utf8(entries[index].first);
}

std::string ConstantTagName(uint8_t tag) {
  switch (tag) {
    case kUtf8:
      return "Utf8";
    case kInteger:
      return "Integer";
    case kFloat:
      return "Float";
    case kLong:
      return "Long";
    case kDouble:
      return "Double";
    case kClass:
      return "Class";
    case kString:
      return "String";
    case kFieldref:
      return "Fieldref";
    case kMethodref:
      return "Methodref";
    case kInterfaceMethodref:
      return "InterfaceMethodref";
    case kNameAndType:
      return "NameAndType";
    case kMethodHandle:
      return "MethodHandle";
    case kMethodType:
      return "MethodType";
    case kDynamic:
      return "Dynamic";
    case kInvokeDynamic:
      return "InvokeDynamic";
    case kModule:
      return "Module";
    case kPackage:
      return "Package";
    default:
      return "tag " + std::to_string(tag);
  }
}

bool ReadConstantPool(ByteReader* reader, ConstantPool* pool, std::string* error) {
  uint16_t count = reader->U2();
  if (reader->failed()) {
    *error = "The class file is cut short in the constant pool's count.";
    return false;
  }
  // Every entry takes three bytes or more: a made-up count reserves no more.
  pool->entries.clear();
  pool->entries.reserve(std::min<size_t>(count, reader->remaining() / 3 + 1));
  pool->entries.emplace_back();
  for (uint32_t i = 1; i < count; ++i) {
    pool->entries.emplace_back();
    Constant& c = pool->entries.back();
    auto where = [&] {
      return " in the constant pool (entry " + std::to_string(i) + " of " +
             std::to_string(count - 1) + ").";
    };
    c.tag = reader->U1();
    if (c.tag == kUtf8) {
      uint16_t length = reader->U2();
      const unsigned char* bytes = reader->Take(length);
      if (bytes && !DecodeModifiedUtf8(bytes, length, &c.text)) {
        *error = "The text of " + Entry(i) + " is not valid modified UTF-8.";
        return false;
      }
    } else if (PayloadSize(c.tag) == 0 && !reader->failed()) {
      *error =
          "The class file holds an unknown constant kind (" + std::to_string(c.tag) + ")" + where();
      return false;
    } else if (PayloadSize(c.tag) == 8) {
      c.bits = (static_cast<uint64_t>(reader->U4()) << 32) | reader->U4();
    } else if (c.tag == kInteger || c.tag == kFloat) {
      c.bits = reader->U4();
    } else if (c.tag == kMethodHandle) {
      c.first = reader->U1();
      c.second = reader->U2();
    } else {
      c.first = reader->U2();
      if (PayloadSize(c.tag) == 4) c.second = reader->U2();
    }
    if (reader->failed()) {
      *error = "The class file is cut short" + where();
      return false;
    }
    if (c.tag == kLong || c.tag == kDouble) {
      if (i + 1 >= count) {
        *error = "The " + ConstantTagName(c.tag) + " in " + Entry(i) +
                 " takes two slots, but it is the constant pool's last.";
        return false;
      }
      pool->entries.emplace_back();  // the second slot stays empty
      ++i;
    }
  }
  for (uint32_t i = 1; i < count; ++i) {
    if (pool->entries[i].tag != 0 && !CheckReferences(*pool, i, error)) return false;
  }
  return true;
}

bool CheckConstant(const ConstantPool& pool, uint32_t index, uint32_t tags,
                   const std::string& where, std::string* error) {
  const Constant* c = pool.Get(index);
  if (c == nullptr) {
    *error = "Constant pool index " + std::to_string(index) +
             (index != 0 && index < pool.entries.size() ? " is the second half of a long constant "
                                                        : " is out of range ") +
             where + ".";
    return false;
  }
  if ((TagBit(static_cast<ConstantTag>(c->tag)) & tags) == 0) {
    std::string wanted;
    for (uint8_t tag = 1; tag <= kPackage; ++tag) {
      if ((tags & TagBit(static_cast<ConstantTag>(tag))) == 0) continue;
      wanted += (wanted.empty() ? "a " : " or a ") + ConstantTagName(tag);
    }
    *error = "Constant pool entry " + std::to_string(index) + " " + where + " is a " +
             ConstantTagName(c->tag) + " where " + wanted + " belongs.";
    return false;
  }
  return true;
}
