#include "classfile/constant_text.h"

#include <stdio.h>
#include <string.h>

#include "classfile/java_numbers.h"

namespace {

// The code point at text[*at] (a lone surrogate's three-byte form included),
// advancing *at; a byte that starts no sequence stands for itself.
uint32_t NextCodePoint(const std::string& text, size_t* at) {
  unsigned char first = static_cast<unsigned char>(text[*at]);
  size_t length = first < 0x80 ? 1 : (first & 0xE0) == 0xC0 ? 2 : (first & 0xF0) == 0xE0 ? 3 : 4;
  if (first >= 0x80 && first < 0xC0) length = 1;
  if (*at + length > text.size()) length = 1;
  uint32_t value = length == 1 ? first : first & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) value = (value << 6) | (text[*at + i] & 0x3F);
  *at += length;
  return value;
}

// Java's Character.isIdentifierIgnorable, for the characters class names use.
bool IsIgnorable(uint32_t c) {
  return c <= 0x08 || (c >= 0x0E && c <= 0x1B) || (c >= 0x7F && c <= 0x9F) || c == 0xAD ||
         (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x206F) || c == 0xFEFF ||
         (c >= 0xFFF9 && c <= 0xFFFB);
}

// Java's Character.isJavaIdentifierStart: exact up to U+00FF; beyond it
// letters are taken for granted except in the ranges of punctuation,
// spaces and surrogates.
bool IsIdentifierStart(uint32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '$' || c == '_';
  if (c < 0x100) {
    return (c >= 0xA2 && c <= 0xA5) || c == 0xAA || c == 0xB5 || c == 0xBA ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
  }
  if (c >= 0x2000 && c <= 0x206F) return c == 0x203F || c == 0x2040 || c == 0x2054;
  return !(c >= 0x3000 && c <= 0x3003) && !(c >= 0xD800 && c <= 0xDFFF) && c < 0xFFF0;
}

bool IsIdentifierPart(uint32_t c) {
  return IsIdentifierStart(c) || (c >= '0' && c <= '9') || IsIgnorable(c);
}

std::string HexEscape(uint32_t c) {
  char text[8];
  snprintf(text, sizeof text, "\\u%04x", c);
  return text;
}

const char* ReferenceKindName(uint16_t kind) {
  static const char* const kNames[] = {
      "REF_getField",      "REF_getStatic",        "REF_putField",
      "REF_putStatic",     "REF_invokeVirtual",    "REF_invokeStatic",
      "REF_invokeSpecial", "REF_newInvokeSpecial", "REF_invokeInterface"};
  return kind >= 1 && kind <= 9 ? kNames[kind - 1] : "REF_?";
}

// A name and type: "name:descriptor".
std::string NameAndTypeText(const ConstantPool& pool, const Constant& c) {
  return CheckedName(pool.Utf8(c.first)) + ":" + pool.Utf8(c.second);
}

// A field or method reference: "class.name:descriptor".
std::string ReferenceText(const ConstantPool& pool, const Constant& c) {
  return CheckedName(pool.NameOf(c.first)) + "." + NameAndTypeText(pool, pool.entries[c.second]);
}

const char* CommentTagName(uint8_t tag) {
  switch (tag) {
    case kInteger:
      return "int";
    case kFloat:
      return "float";
    case kLong:
      return "long";
    case kDouble:
      return "double";
    case kClass:
      return "class";
    case kFieldref:
      return "Field";
    case kMethodref:
      return "Method";
    case kInterfaceMethodref:
      return "InterfaceMethod";
    default:
      return nullptr;
  }
}

}  // namespace

std::string EscapedJavaText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t start = at;
    uint32_t c = NextCodePoint(text, &at);
    const char* escape = nullptr;
    switch (c) {
      case '\t':
        escape = "\\t";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\b':
        escape = "\\b";
        break;
      case '\f':
        escape = "\\f";
        break;
      case '"':
        escape = "\\\"";
        break;
      case '\'':
        escape = "\\'";
        break;
      case '\\':
        escape = "\\\\";
        break;
      default:
        break;
    }
    if (escape != nullptr) {
      out += escape;
    } else if (c <= 0x1F || (c >= 0x7F && c <= 0x9F)) {
      out += HexEscape(c);
    } else {
      out.append(text, start, at - start);
    }
  }
  return out;
}

std::string CheckedName(const std::string& name) {
  bool plain = !name.empty();
  uint32_t previous = '/';
  for (size_t at = 0; plain && at < name.size();) {
    uint32_t c = NextCodePoint(name, &at);
    plain = !(previous == '/' && !IsIdentifierStart(c)) && (c == '/' || IsIdentifierPart(c));
    previous = c;
  }
  if (plain) return name;
  std::string quoted = "\"";
  for (char c : name) {
    switch (c) {
      case '\\':
      case '"':
        quoted += '\\';
        quoted += c;
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::string ConstantValueText(const ConstantPool& pool, uint32_t index) {
  const Constant* c = pool.Get(index);
  if (c == nullptr) return "#" + std::to_string(index);
  switch (c->tag) {
    case kUtf8:
      return EscapedJavaText(c->text);
    case kInteger:
      return std::to_string(static_cast<int32_t>(c->bits));
    case kFloat: {
      uint32_t bits = static_cast<uint32_t>(c->bits);
      float value;
      memcpy(&value, &bits, sizeof value);
      return JavaFloatText(value) + "f";
    }
    case kLong:
      return std::to_string(static_cast<int64_t>(c->bits)) + "l";
    case kDouble: {
      double value;
      memcpy(&value, &c->bits, sizeof value);
      return JavaDoubleText(value) + "d";
    }
    case kClass:
    case kModule:
    case kPackage:
      return CheckedName(pool.NameOf(index));
    case kString:
      return EscapedJavaText(pool.NameOf(index));
    case kMethodType:
      return pool.NameOf(index);
    case kFieldref:
    case kMethodref:
    case kInterfaceMethodref:
      return ReferenceText(pool, *c);
    case kNameAndType:
      return NameAndTypeText(pool, *c);
    case kMethodHandle:
      return std::string(ReferenceKindName(c->first)) + " " + ConstantValueText(pool, c->second);
    case kDynamic:
    case kInvokeDynamic:
      return "#" + std::to_string(c->first) + ":" + NameAndTypeText(pool, pool.entries[c->second]);
    default:
      return "#" + std::to_string(index);
  }
}

std::string ConstantComment(const ConstantPool& pool, uint32_t index, uint32_t thisClass) {
  const Constant* c = pool.Get(index);
  if (c == nullptr) return "#" + std::to_string(index);
  const char* tag = CommentTagName(c->tag);
  std::string name = tag != nullptr ? tag : ConstantTagName(c->tag);
  bool member = c->tag == kFieldref || c->tag == kMethodref || c->tag == kInterfaceMethodref;
  if (member && c->first == thisClass) {
    return name + " " + NameAndTypeText(pool, pool.entries[c->second]);
  }
  return name + " " + ConstantValueText(pool, index);
}
