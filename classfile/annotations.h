// The annotation attributes, walked through and checked: a damaged one must
// not lead a read astray. Only the class's own annotations are kept (the
// bytecode view shows Kotlin's, which the Java view puts in a line).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "classfile/byte_reader.h"
#include "classfile/constant_pool.h"

enum class AnnotationKind {
  kAnnotations,           // Runtime(In)VisibleAnnotations
  kParameterAnnotations,  // Runtime(In)VisibleParameterAnnotations
  kTypeAnnotations,       // Runtime(In)VisibleTypeAnnotations
  kDefault,               // AnnotationDefault
};

// An annotation, or one of its element values, as the class file holds it.
struct AnnotationValue {
  char tag = 0;                 // B C D F I J S Z s c e [ as the element's, '@' for an annotation
  uint16_t index = 0;           // the constant, the enum's or the annotation's type (a Utf8)
  uint16_t second = 0;          // e: the constant's name
  std::vector<uint16_t> names;  // @: the elements' names (Utf8 entries)
  std::vector<AnnotationValue> values;  // @: the elements' values; [: the items
};

// The kind of an attribute of that name; false for any other name.
bool IsAnnotationAttribute(const std::string& name, AnnotationKind* kind);

// Walks the attribute's body in reader, checking each constant it names;
// false with a sentence in *error that names where (the attribute).
bool CheckAnnotations(ByteReader* reader, const ConstantPool& pool, AnnotationKind kind,
                      const std::string& where, std::string* error);

// Reads and checks Runtime(In)VisibleAnnotations' body into annotations (each
// with tag '@'), as CheckAnnotations does.
bool ReadAnnotations(ByteReader* reader, const ConstantPool& pool, const std::string& where,
                     std::vector<AnnotationValue>* annotations, std::string* error);
