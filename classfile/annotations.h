// The annotation attributes, walked through and checked, not kept: the
// viewer shows no annotations, but a damaged one must not lead a read astray.
#pragma once

#include <string>

#include "classfile/byte_reader.h"
#include "classfile/constant_pool.h"

enum class AnnotationKind {
  kAnnotations,           // Runtime(In)VisibleAnnotations
  kParameterAnnotations,  // Runtime(In)VisibleParameterAnnotations
  kTypeAnnotations,       // Runtime(In)VisibleTypeAnnotations
  kDefault,               // AnnotationDefault
};

// The kind of an attribute of that name; false for any other name.
bool IsAnnotationAttribute(const std::string& name, AnnotationKind* kind);

// Walks the attribute's body in reader, checking each constant it names;
// false with a sentence in *error that names where (the attribute).
bool CheckAnnotations(ByteReader* reader, const ConstantPool& pool, AnnotationKind kind,
                      const std::string& where, std::string* error);
