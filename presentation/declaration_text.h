// Where a member of the shown class is declared in a view's text, read from
// the text alone: a line of Java source ("public StrBuilder appendln(char[]
// chars, int startIndex, int length) {"), or of javap's listing ("public
// org.apache.commons.lang3.text.StrBuilder appendln(char[], int, int);").
// A line may start with the original line's column ("/*  16*/"). No Win32
// call: built on both sides.
#pragma once

#include <string>
#include <vector>

#include "classfile/class_members.h"

// A member as the text finds it: its kind, its name and, for a method or a
// constructor, its parameters' simple types as declared and as erased.
struct DeclarationTarget {
  MemberKind kind = MemberKind::kMethod;
  bool enumConstant = false;
  std::wstring name;
  std::vector<std::wstring> parameters;
  std::vector<std::wstring> erasedParameters;
};

// Where the line's text begins after the original line's column, if any.
size_t TextStartAfterColumn(const std::wstring& line);

// Where the line declares the target's name (the position of the name in the
// line), or -1: the name stands where a declaration puts it (after
// modifiers, type parameters and a type; a constructor's perhaps qualified
// by its package in javap's listing), not in a statement, a call or a
// comment. Nested classes are declared after their kind's word.
int DeclaredNameAt(const std::wstring& line, const DeclarationTarget& target);

// Whether the parameter list written after the name's '(' (text may run on
// over lines joined with blanks, up to its ')') has the target's parameter
// types: each as declared or erased, compared by simple name without type
// arguments ("Map<K, V> map", "java.util.Map", "Map.Entry"), "..." as "[]".
bool ParametersMatch(const std::wstring& afterParenthesis, const DeclarationTarget& target);

// The text's lines (split at CR LF, CR or LF) and the line that declares the
// target: among the lines that declare its name, the least indented whose
// parameters match, else the least indented. -1 when none does. from: the
// first line looked at.
int FindDeclarationLine(const std::vector<std::wstring>& lines, const DeclarationTarget& target,
                        size_t from);

// Where a line declares the target's name in one language's text, or -1.
typedef int (*DeclaredNameFinder)(const std::wstring& line, const DeclarationTarget& target);

// The line that declares the target at line or above it, before an earlier
// line carrying an original line number (another statement); at most
// reach lines up. -1 for none. Java's declarations unless found says another
// language's (Kotlin's).
int DeclarationAtOrAbove(const std::vector<std::wstring>& lines, size_t line,
                         const DeclarationTarget& target, size_t reach,
                         DeclaredNameFinder found = nullptr);
