// The family of a class file: every class file in its folder whose name, up to
// its first '$', is the shown file's name up to its first '$' (Outer.class,
// Outer$Inner.class, Outer$1.class, Outer$1Local.class). Java compiles each
// nested, inner, anonymous and local class into a file of its own, and a
// decompiler reads them from beside the file it is given.
#pragma once

#include <windows.h>

// The bounds of a family, the shown file included: past either one only the
// shown file goes to the decompiler. Settable by tests.
extern DWORD FamilyFileLimit;  // MostFamilyFiles (bridge/jad/family_bounds.h)
extern DWORD FamilyByteLimit;  // MostFamilyBytes

// The file name within path: what follows its last backslash, slash or colon.
const WCHAR* FileNameOf(const WCHAR* path);

// The number of characters of name before its ".class" (of any ASCII case), or
// -1 when it does not end so.
int ClassStemLength(const WCHAR* name);

// Copies the family of the class file at classFilePath (any length), other
// than that file itself, into folder under their own names. One scan of the
// class file's folder, which the file system filters by the name's start;
// nothing is copied when the family is past its bounds or the scan fails. A
// member that cannot be copied is left out.
void CopyClassFamily(const WCHAR* classFilePath, const WCHAR* folder);
