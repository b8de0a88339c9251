#include "bridge/shown_class/class_name.h"

#include "bridge/jad/utf8_source.h"
#include "classfile/class_file.h"

std::string ReadInternalClassName(const unsigned char* bytes, size_t size) {
  ParsedClass header;
  std::string error;
  if (!ReadClassHeader(bytes, size, &header, &error)) return "";
  // A lone surrogate keeps its three-byte form, which names no file.
  return IsUtf8(header.name) ? header.name : "";
}

std::string ReadSimpleClassName(const unsigned char* bytes, size_t size) {
  std::string name = ReadInternalClassName(bytes, size);
  size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}
