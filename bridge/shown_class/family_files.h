// The family of a class file read from its folder (class_family.h says who
// belongs): one directory search for the family's names, never a read of
// unrelated files.
#pragma once

#include <string>
#include <vector>

#include "bridge/shown_class/class_family.h"

// The members beside classFile (its own name excluded), each read whole; none
// when they and the class file are more than MostFamilyFiles files or come to
// more than MostFamilyBytes bytes (the class file's being classBytes): the
// engine then shows what is missing.
std::vector<ClassFile> ReadClassFamily(const std::wstring& classFile, size_t classBytes);
