#include "bridge/nested_classes.h"

#include <algorithm>

#include "bridge/class_file.h"
#include "bridge/class_name.h"
#include "bridge/error_comment.h"

namespace {

// Skips the fields' or the methods' table, attributes and all.
void SkipMembers(ByteReader* reader) {
  for (uint32_t count = reader->Read(2); count > 0 && !reader->failed(); --count) {
    reader->Skip(6);  // access flags, name, descriptor
    for (uint32_t attributes = reader->Read(2); attributes > 0 && !reader->failed(); --attributes) {
      reader->Skip(2);
      reader->Skip(reader->Read(4));
    }
  }
}

std::string FileNameOf(const std::string& internalName) {
  return internalName.substr(internalName.find_last_of('/') + 1) + ".class";
}

}  // namespace

std::vector<std::string> ReadNestedClassNames(const unsigned char* bytes, size_t size) {
  ByteReader reader(bytes, size);
  ConstantPool pool;
  if (!ReadConstantPool(&reader, bytes, &pool)) return {};
  reader.Skip(2);  // access flags
  std::string self;
  if (!pool.ClassName(reader.Read(2), &self)) return {};
  reader.Skip(2);                   // super class
  reader.Skip(2 * reader.Read(2));  // interfaces
  SkipMembers(&reader);             // fields
  SkipMembers(&reader);             // methods
  std::vector<std::string> nested;
  for (uint32_t count = reader.Read(2); count > 0 && !reader.failed(); --count) {
    std::string name;
    bool innerClasses = pool.Utf8(reader.Read(2), &name) && name == "InnerClasses";
    uint32_t length = reader.Read(4);
    if (!innerClasses) {
      reader.Skip(length);
      continue;
    }
    ByteReader entries = reader;
    reader.Skip(length);
    if (reader.failed()) return {};
    for (uint32_t classes = entries.Read(2); classes > 0 && !entries.failed(); --classes) {
      std::string inner;
      bool known = pool.ClassName(entries.Read(2), &inner);
      entries.Skip(6);  // outer class, simple name, flags
      if (known && !entries.failed() && inner.size() > self.size() + 1 &&
          inner.compare(0, self.size() + 1, self + "$") == 0) {
        nested.push_back(inner);
      }
    }
    if (entries.failed()) return {};
  }
  return reader.failed() ? std::vector<std::string>() : nested;
}

std::string MissingNestedClassesNote(const std::string& classBytes,
                                     const std::vector<ClassFile>& family) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(classBytes.data());
  std::vector<std::string> missing;
  for (const std::string& nested : ReadNestedClassNames(bytes, classBytes.size())) {
    std::string file = FileNameOf(nested);
    bool present = false;
    for (const ClassFile& member : family) present = present || member.name == file;
    if (!present) missing.push_back("  " + file);
  }
  if (missing.empty()) return "";
  std::sort(missing.begin(), missing.end());
  std::string shown = FileNameOf(ReadInternalClassName(bytes, classBytes.size()));
  std::vector<std::string> lines = {
      "Not shown: the code of these classes nested in this one. Their class files",
      "were not beside " + shown + " (as for a class opened inside an archive,",
      "which is unpacked alone), so they show only where this class refers to them:"};
  lines.insert(lines.end(), missing.begin(), missing.end());
  return ErrorComment(lines);
}
