// The classes nested in a class that did not come with it: a class opened
// inside an archive comes alone (the file manager unpacks only that file), and
// its nested, inner, anonymous and local classes then show as references only.
// The source then begins with a note that names them and says why.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "bridge/shown_class/class_family.h"

// The internal names ("demo/Outer$Inner") of the classes nested in the class
// that its InnerClasses attribute names: those whose names begin with its own
// and "$". None when the bytes are no class file or are cut short.
std::vector<std::string> ReadNestedClassNames(const unsigned char* bytes, size_t size);

// A block comment (LF line ends) that names the nested classes of classBytes
// whose files are not among family, or "" when each of them is there.
std::string MissingNestedClassesNote(const std::string& classBytes,
                                     const std::vector<ClassFile>& family);
