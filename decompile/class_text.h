// The class file itself as text for the viewer, without Java: the bytecode
// view (as javap -c -p lists it) and the outline (the declarations alone),
// made by the plugin's own class-file reader from the file's bytes, read once;
// and whether the class was compiled from Kotlin.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "classfile/class_members.h"
#include "classfile/kotlin_attributes.h"

// A class file's bytes as one read found them.
struct ClassBytes {
  bool read = false;
  std::string bytes;  // when read
  std::string error;  // when not: the sentence that says why
};

// The whole file (at most 64 MB), shared for reading and writing by others.
ClassBytes ReadClassBytes(const WCHAR* classFile);

// The text with CR LF line ends; false, with the reader's sentence (what is
// damaged, and where; or why the file could not be read) in *error, when
// there are no bytes or they are no whole class file. places, when given,
// gets each method's place (its line counted in the text).
bool BytecodeTextOf(const ClassBytes& cls, std::wstring* text, std::string* error,
                    std::vector<MethodPlace>* places = nullptr);
bool OutlineTextOf(const ClassBytes& cls, std::wstring* text, std::string* error);

// The class's Kotlin metadata (present false when the bytes have none, or are
// no whole class file).
KotlinMetadata KotlinMetadataOfBytes(const ClassBytes& cls);

// The class at a glance (its heading and members), for the thumbnail and the
// class window's "Go to"; false with the sentence as above.
bool GlanceOf(const ClassBytes& cls, ClassGlance* glance, std::string* error);
