#include "bridge/shown_class/nested_classes.h"

#include <algorithm>

#include "bridge/jad/error_comment.h"
#include "bridge/jad/utf8_source.h"
#include "bridge/shown_class/class_name.h"
#include "classfile/class_file.h"

namespace {

std::string FileNameOf(const std::string& internalName) {
  return internalName.substr(internalName.find_last_of('/') + 1) + ".class";
}

}  // namespace

std::vector<std::string> ReadNestedClassNames(const unsigned char* bytes, size_t size) {
  ParsedClass file;
  std::string error;
  if (!ReadClassFile(bytes, size, &file, &error) || !IsUtf8(file.name)) return {};
  const std::string prefix = file.name + "$";
  std::vector<std::string> nested;
  for (const InnerClass& inner : file.innerClasses) {
    if (inner.inner.size() > prefix.size() && inner.inner.compare(0, prefix.size(), prefix) == 0 &&
        IsUtf8(inner.inner)) {
      nested.push_back(inner.inner);
    }
  }
  return nested;
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
