// An annotation as javap -v lists it: the line of constant-pool indices
// ("#77(#78=[I#79,I#80],#81=I#82)") and the resolved form below it
// ("kotlin.Metadata(" with one element a line, "mv=[2,2,0]", and ")").
#pragma once

#include <string>

#include "classfile/annotations.h"
#include "classfile/constant_pool.h"
#include "classfile/javap_writer.h"

// The indices' form, on the line being written.
std::string AnnotationIndicesText(const AnnotationValue& annotation);

// The resolved form, from the line being written on (a top-level annotation
// goes without its "@", as javap writes it).
void PrintAnnotation(JavapWriter* w, const ConstantPool& pool, const AnnotationValue& annotation);
