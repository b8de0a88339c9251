// A class file as text, the way javap of JDK 17 lists it: the bytecode view
// (javap -c -p: the declarations and every method's instructions with the
// constants they name, switches and exception tables) and the outline
// (javap -p: the class's declaration and its members' declarations only).
// Both are UTF-8 with LF line ends.
#pragma once

#include <stddef.h>

#include <string>

#include "classfile/class_file.h"

// The text of a class file that ReadClassFile read.
std::string BytecodeView(const ParsedClass& file);
std::string ClassOutline(const ParsedClass& file);

// Reads bytes and gives the view or the outline in *text; false with the
// reader's sentence in *error when the bytes are no class file or damaged.
bool BytecodeViewOf(const unsigned char* bytes, size_t size, std::string* text, std::string* error);
bool ClassOutlineOf(const unsigned char* bytes, size_t size, std::string* text, std::string* error);
