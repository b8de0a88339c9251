// Where a member of the shown class is declared in its Kotlin view, as
// Vineflower's Kotlin plugin writes it: "public fun <T> Pair<T, T>.toList():
// List<T> {", "public final val first: Any", "internal constructor(...)",
// "public companion object {". A line may start with the original line's
// column ("/*  16*/"). No Win32 call: built on both sides.
#pragma once

#include <string>
#include <vector>

#include "presentation/declaration_text.h"

// Where the line declares the target's name (the position of the name, or of
// "constructor" or of "companion" for a companion object), or -1: a method
// after "fun" (past type parameters and a receiver type), a field after
// "val" or "var", a nested class after its kind's word ("class", "interface",
// "object"), a constructor as "constructor(" or in the class's header.
int KotlinDeclaredNameAt(const std::wstring& line, const DeclarationTarget& target);

// The line that declares the target from the line from on: of those that
// declare its name, the least indented whose parameter count fits the
// target's (an extension's receiver is one of the target's parameters), else
// the least indented. -1 when none does.
int FindKotlinDeclarationLine(const std::vector<std::wstring>& lines,
                              const DeclarationTarget& target, size_t from);

// The line that declares the target at line or above it, at most reach lines
// up, before a line that carries an original line number of its own (another
// statement). -1 for none.
int KotlinDeclarationAtOrAbove(const std::vector<std::wstring>& lines, size_t line,
                               const DeclarationTarget& target, size_t reach);
