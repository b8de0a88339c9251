// A class file as text, the way javap of JDK 17 lists it: the bytecode view
// (javap -c -p: the declarations and every method's instructions with the
// constants they name, switches and exception tables) and the outline
// (javap -p: the class's declaration and its members' declarations only).
// Both are UTF-8 with LF line ends.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "classfile/class_file.h"

// Where a method stands in the bytecode view: the line of its declaration
// (0 for the text's first), and the original source lines its line number
// table names (0 and 0 without one), so that a viewer can go from a method's
// source to its bytecode and back.
struct MethodPlace {
  size_t line = 0;
  unsigned firstSourceLine = 0;
  unsigned lastSourceLine = 0;
};

// The text of a class file that ReadClassFile read; places, when given, gets
// each method's place in the bytecode view.
std::string BytecodeView(const ParsedClass& file, std::vector<MethodPlace>* places = nullptr);
std::string ClassOutline(const ParsedClass& file);

// Reads bytes and gives the view or the outline in *text; false with the
// reader's sentence in *error when the bytes are no class file or damaged.
bool BytecodeViewOf(const unsigned char* bytes, size_t size, std::string* text, std::string* error);
bool ClassOutlineOf(const unsigned char* bytes, size_t size, std::string* text, std::string* error);
