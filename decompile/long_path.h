// The long-path file layer: the Win32 file calls (and the shell's icon
// extraction) for wide paths of any length. On the NT family the wide calls get
// paths of 260 characters or more in the extended-length form; elsewhere the
// paths are converted to the ANSI code page for the 8-bit calls. Each member
// takes its wide Win32 counterpart's arguments and returns its result, adding
// one failure of its own: a path too long for the extended-length buffer (and,
// for LongPathCopyFile, buffers that cannot be had).
#pragma once

#include <windows.h>

#include "decompile/long_path_names.h"

// 0 until the first call that needs it, then 1 (NT family: wide calls) or 2
// (8-bit calls) for the rest of the module's life.
extern BYTE PlatformKind;

// 1 on the NT family, else 0; fixes PlatformKind while it is still 0.
int IsWindowsNT();

// Copy one find record into the other form; names are converted through the
// ANSI code page and always terminated within their fields.
void FindDataToWide(WIN32_FIND_DATAW* wide, const WIN32_FIND_DATAA* ansi);
void FindDataToAnsi(WIN32_FIND_DATAA* ansi, const WIN32_FIND_DATAW* wide);

HANDLE LongPathCreateFile(const WCHAR* path, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
BOOL LongPathCopyFile(const WCHAR* existingPath, const WCHAR* newPath, BOOL failIfExists);
BOOL LongPathMoveFile(const WCHAR* existingPath, const WCHAR* newPath);
BOOL LongPathDeleteFile(const WCHAR* path);
BOOL LongPathCreateDirectory(const WCHAR* path, LPSECURITY_ATTRIBUTES securityAttributes);
BOOL LongPathRemoveDirectory(const WCHAR* path);
BOOL LongPathSetFileAttributes(const WCHAR* path, DWORD attributes);
HANDLE LongPathFindFirstFile(const WCHAR* pattern, WIN32_FIND_DATAW* findData);
BOOL LongPathFindNextFile(HANDLE search, WIN32_FIND_DATAW* findData);
UINT LongPathExtractIconEx(const WCHAR* path, int iconIndex, HICON* largeIcons, HICON* smallIcons,
                           UINT iconCount);
