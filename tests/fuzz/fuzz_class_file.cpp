// The class-file reader and the bytecode view on any bytes: the reader never
// reads past them and refuses with one sentence, and what it reads whole the
// view and the outline write as well-formed UTF-8 that ends with the class's
// closing brace.
#include <stdlib.h>

#include <string>

#include "bridge/jad/utf8_source.h"
#include "classfile/bytecode_view.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ParsedClass file;
  std::string error;
  if (!ReadClassFile(data, size, &file, &error)) {
    if (!EndsWith(error, ".")) abort();
    return 0;
  }
  ParsedClass header;
  if (!ReadClassHeader(data, size, &header, &error) || header.name != file.name) abort();
  for (const std::string& text : {BytecodeView(file), ClassOutline(file)}) {
    if (!EndsWith(text, "}\n") || !IsUtf8(text)) abort();
  }
  return 0;
}
