// A class file's family: the class files of its folder that javac made from
// the same top-level class (the top-level class, its nested, inner, anonymous
// and local classes). The engines read them beside the shown class to write
// it whole.
#pragma once

#include <stddef.h>

#include <string>

#include "bridge/jad/family_bounds.h"

// One class file by its own name ("Outer$Inner.class", UTF-8) and its bytes.
struct ClassFile {
  std::string name;
  std::string bytes;
};

// The name a family shares: a class file's name up to its first '$' after
// those it begins with, or its ".class" ("Outer" for "Outer$1Local.class",
// "$Outer" for "$Outer$Inner.class"); "" for a name that does not end in
// ".class" (in any case).
std::string FamilyName(const std::string& classFileName);

// Whether fileName belongs to the family of shownFileName and is not that file.
bool InFamily(const std::string& shownFileName, const std::string& fileName);
