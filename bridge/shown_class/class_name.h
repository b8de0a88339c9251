// The name Jad gives its output: the simple binary name of the class that a
// class file declares (this_class in the constant pool), "Outer$Inner" for a
// nested class, "module-info" for a module descriptor.
#pragma once

#include <stddef.h>

#include <string>

// The internal name in UTF-8 ("demo/Outer$Inner"), or "" when the bytes are no
// class file or the name cannot be read whole (a cut constant pool, an index
// that points at the wrong kind of entry, modified UTF-8 that does not decode).
std::string ReadInternalClassName(const unsigned char* bytes, size_t size);

// The simple binary name ("Outer$Inner"): the internal name after its last '/'.
std::string ReadSimpleClassName(const unsigned char* bytes, size_t size);
