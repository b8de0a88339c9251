// Where a Java stack trace points, "Name.java:N" (a class compiled from
// Kotlin: "Name.kt:N"), and the original line
// numbers in the column at the left of the shown source ("/*  16*/", Jad's
// -lnc layout). No Win32 call: built on both sides.
#pragma once

#include <wchar.h>

struct StackPosition {
  const wchar_t* name;  // the source file's name without ".java" (".kt"), inside the text
  int nameLength;
  int line;
};

// Whether text, blanks around it aside, is "Name.java:N" or a whole frame
// "at pkg.Name.method(Name.java:N)" ("at" and a module in front of the class
// may be left out); fills position from it. N has 1 to 9 digits.
bool ParseStackPosition(const wchar_t* text, StackPosition* position);

// The original line number a shown line carries in its column: "/*", blanks,
// the digits and "*/" at its start. -1 when it carries none.
int ColumnLineNumber(const wchar_t* line, int length);

// Whether a shown file (its name or path) holds the class of the source file
// name: its name up to the first '$', or else up to its extension, is name
// ("Outer$Inner.class" holds Outer.java's), or name and "Kt" (Kotlin's class
// of a file's own functions: "TuplesKt.class" holds Tuples.kt's). Letters
// compare as ASCII folds them.
bool FileHoldsSourceOf(const wchar_t* path, const wchar_t* name, int nameLength);
