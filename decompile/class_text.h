// The class file itself as text for the viewer, without Java: the bytecode
// view (as javap -c -p lists it) and the outline (the declarations alone),
// read by the plugin's own class-file reader.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "classfile/class_members.h"

// The text with CR LF line ends; false, with the reader's sentence (what is
// damaged, and where) in *error, when the file cannot be read or is no whole
// class file. places, when given, gets each method's place (its line counted
// in the text).
bool ReadBytecodeText(const WCHAR* classFile, std::wstring* text, std::string* error,
                      std::vector<MethodPlace>* places = nullptr,
                      std::vector<size_t>* fieldLines = nullptr);
bool ReadOutlineText(const WCHAR* classFile, std::wstring* text, std::string* error);

// The class at a glance (its heading and members), for the thumbnail and the
// class window's "Go to"; false with the reader's sentence as above.
bool ReadClassGlance(const WCHAR* classFile, ClassGlance* glance, std::string* error);
