#include "bridge/class_name.h"

#include "bridge/class_file.h"

std::string ReadInternalClassName(const unsigned char* bytes, size_t size) {
  ByteReader reader(bytes, size);
  ConstantPool pool;
  if (!ReadConstantPool(&reader, bytes, &pool)) return "";
  reader.Skip(2);  // access flags
  uint32_t thisClass = reader.Read(2);
  std::string name;
  if (reader.failed() || !pool.ClassName(thisClass, &name)) return "";
  return name;
}

std::string ReadSimpleClassName(const unsigned char* bytes, size_t size) {
  std::string name = ReadInternalClassName(bytes, size);
  size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}
