// Constants as javap's comments name them: "Method java/lang/Object.\"<init>\":()V",
// "String a\tb", "long 3l", "InvokeDynamic #0:run:()Ljava/lang/Runnable;".
#pragma once

#include <stdint.h>

#include <string>

#include "classfile/constant_pool.h"

// A string constant's text with Java's escapes (\t \n \r \b \f \" \' \\ and
// \uXXXX for the other control characters).
std::string EscapedJavaText(const std::string& text);

// A name as javap writes it in a comment: as it is when each part between
// slashes is a Java identifier, otherwise quoted ("\"<init>\"").
std::string CheckedName(const std::string& name);

// The comment for the entry an instruction names, without the "// ". A
// field or method of thisClass goes without its class, as javap writes it.
std::string ConstantComment(const ConstantPool& pool, uint32_t index, uint32_t thisClass);

// An entry's value alone ("java/lang/String", "3l", "REF_invokeStatic ...").
std::string ConstantValueText(const ConstantPool& pool, uint32_t index);
