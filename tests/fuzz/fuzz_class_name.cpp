// The class-file readers on any bytes: they never read past them, a name the
// class-name reader gives is well-formed UTF-8 without a slash that makes a
// usable output name, and each nested class named begins with the class's name.
#include <stdlib.h>

#include <string>

#include "bridge/jad/command_line.h"
#include "bridge/jad/utf8_source.h"
#include "bridge/shown_class/class_name.h"
#include "bridge/shown_class/nested_classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string name = ReadSimpleClassName(data, size);
  if (name.find('/') != std::string::npos || !IsUtf8(name)) abort();
  JadRequest request = ParseJadCommandLine({"-s", "1.java", "1"});
  std::string output = OutputFileName(name, request, 40);
  if (output.size() < 8 || output.find_first_of("<>:\"/\\|?*") != std::string::npos) abort();
  std::string self = ReadInternalClassName(data, size);
  for (const std::string& nested : ReadNestedClassNames(data, size)) {
    if (nested.compare(0, self.size() + 1, self + "$") != 0) abort();
  }
  return 0;
}
