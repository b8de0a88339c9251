// What a class compiled from Kotlin carries for Kotlin: its kotlin.Metadata
// annotation (the kind of class file and the metadata's version), and the
// SourceDebugExtension that maps the lines of inlined code to their source
// files, which Kotlin also writes as the annotation
// kotlin.jvm.internal.SourceDebugExtension.
#pragma once

#include <string>
#include <vector>

#include "classfile/class_file.h"

struct KotlinMetadata {
  bool present = false;
  // k: 1 class, 2 file facade, 3 synthetic class, 4 multi-file class facade,
  // 5 multi-file class part (1 when the annotation gives none, its default).
  int kind = 1;
  std::vector<int> version;  // mv, e.g. 2 2 0
};

KotlinMetadata KotlinMetadataOf(const ParsedClass& file);

// Those attributes as javap -v lists them below the class: the
// SourceDebugExtension, and in each annotation attribute Kotlin's own
// annotations under the attribute's heading (numbered as javap numbers
// them). "" when the class has none of them.
std::string KotlinAttributesText(const ParsedClass& file);
