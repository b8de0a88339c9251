#include "decompile/long_path.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

BYTE PlatformKind = 0;

namespace {

// An 8-bit path: at most 259 converted bytes, always terminated at index 259.
enum { AnsiPathChars = MAX_PATH };

// Converts path for an 8-bit call; a null path stays null. The buffer starts
// zeroed, so a conversion that fails outright passes an empty name rather than
// whatever the stack held.
const char* ToAnsiPath(const WCHAR* path, char* buffer) {
  if (path == nullptr) {
    return nullptr;
  }
  memset(buffer, 0, AnsiPathChars);
  WideCharToMultiByte(CP_ACP, 0, path, -1, buffer, AnsiPathChars - 1, nullptr, nullptr);
  buffer[AnsiPathChars - 1] = '\0';
  return buffer;
}

// The extended-length form of path in buffer, or null for a null path. Sets
// fits to 0 when the path does not fit the buffer.
const WCHAR* ToLongPath(const WCHAR* path, WCHAR* buffer, int* fits) {
  *fits = 1;
  if (path == nullptr) {
    return nullptr;
  }
  *fits = MakeLongPath(buffer, path);
  return buffer;
}

// A conversion of a name field that stops at the field's end even when the
// record holds no terminator there: the length given then covers the field.
int AnsiFieldLength(const char* field, int fieldSize) {
  int n = static_cast<int>(strnlen(field, fieldSize));
  return n < fieldSize ? -1 : fieldSize;
}

int WideFieldLength(const WCHAR* field, int fieldSize) {
  int n = static_cast<int>(wcsnlen(field, fieldSize));
  return n < fieldSize ? -1 : fieldSize;
}

// The eight fields that both find records share unchanged.
template <typename To, typename From>
void CopyFindDataFields(To* to, const From& from) {
  to->dwFileAttributes = from.dwFileAttributes;
  to->ftCreationTime = from.ftCreationTime;
  to->ftLastAccessTime = from.ftLastAccessTime;
  to->ftLastWriteTime = from.ftLastWriteTime;
  to->nFileSizeHigh = from.nFileSizeHigh;
  to->nFileSizeLow = from.nFileSizeLow;
  to->dwReserved0 = from.dwReserved0;
  to->dwReserved1 = from.dwReserved1;
}

}  // namespace

int IsWindowsNT() {
  if (PlatformKind != 0) {
    return PlatformKind == 1 ? 1 : 0;
  }
  // Zeroed first: should the query fail, the record names no platform and the
  // 8-bit branch is taken.
  OSVERSIONINFOA version;
  memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = 148;
  GetVersionExA(&version);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    PlatformKind = 1;
    return 1;
  }
  PlatformKind = 2;
  return 0;
}

void FindDataToWide(WIN32_FIND_DATAW* wide, const WIN32_FIND_DATAA* ansi) {
  // Cleared first, so a failed conversion leaves empty names, not stale ones.
  memset(wide->cAlternateFileName, 0, sizeof wide->cAlternateFileName);
  memset(wide->cFileName, 0, sizeof wide->cFileName);
  MultiByteToWideChar(CP_ACP, 0, ansi->cAlternateFileName,
                      AnsiFieldLength(ansi->cAlternateFileName, 14), wide->cAlternateFileName, 13);
  wide->cAlternateFileName[13] = L'\0';
  MultiByteToWideChar(CP_ACP, 0, ansi->cFileName, AnsiFieldLength(ansi->cFileName, MAX_PATH),
                      wide->cFileName, MAX_PATH - 1);
  wide->cFileName[MAX_PATH - 1] = L'\0';
  CopyFindDataFields(wide, *ansi);
}

void FindDataToAnsi(WIN32_FIND_DATAA* ansi, const WIN32_FIND_DATAW* wide) {
  memset(ansi->cAlternateFileName, 0, sizeof ansi->cAlternateFileName);
  memset(ansi->cFileName, 0, sizeof ansi->cFileName);
  WideCharToMultiByte(CP_ACP, 0, wide->cAlternateFileName,
                      WideFieldLength(wide->cAlternateFileName, 14), ansi->cAlternateFileName, 13,
                      nullptr, nullptr);
  ansi->cAlternateFileName[13] = '\0';
  WideCharToMultiByte(CP_ACP, 0, wide->cFileName, WideFieldLength(wide->cFileName, MAX_PATH),
                      ansi->cFileName, MAX_PATH - 1, nullptr, nullptr);
  ansi->cFileName[MAX_PATH - 1] = '\0';
  CopyFindDataFields(ansi, *wide);
}

HANDLE LongPathCreateFile(const WCHAR* path, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile) {
  if (IsWindowsNT()) {
    WCHAR buffer[LongPathBufferChars];
    int fits = 0;
    const WCHAR* name = ToLongPath(path, buffer, &fits);
    if (!fits) {
      return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(name, desiredAccess, shareMode, securityAttributes, creationDisposition,
                       flagsAndAttributes, templateFile);
  }
  char buffer[AnsiPathChars];
  return CreateFileA(ToAnsiPath(path, buffer), desiredAccess, shareMode, securityAttributes,
                     creationDisposition, flagsAndAttributes, templateFile);
}

BOOL LongPathCopyFile(const WCHAR* existingPath, const WCHAR* newPath, BOOL failIfExists) {
  if (!IsWindowsNT()) {
    char existingBuffer[AnsiPathChars];
    char newBuffer[AnsiPathChars];
    return CopyFileA(ToAnsiPath(existingPath, existingBuffer), ToAnsiPath(newPath, newBuffer),
                     failIfExists);
  }
  // Two extended-length paths are too much for the stack of a host's thread.
  enum { HeapBufferBytes = 2060 };
  WCHAR* existingBuffer = static_cast<WCHAR*>(malloc(HeapBufferBytes));
  WCHAR* newBuffer = static_cast<WCHAR*>(malloc(HeapBufferBytes));
  BOOL result = 0;
  if (existingBuffer != nullptr && newBuffer != nullptr) {
    int fits = 0;
    const WCHAR* existingName = ToLongPath(existingPath, existingBuffer, &fits);
    if (fits) {
      const WCHAR* newName = ToLongPath(newPath, newBuffer, &fits);
      if (fits) {
        result = CopyFileW(existingName, newName, failIfExists);
      }
    }
  }
  free(existingBuffer);
  free(newBuffer);
  return result;
}

BOOL LongPathMoveFile(const WCHAR* existingPath, const WCHAR* newPath) {
  if (!IsWindowsNT()) {
    char existingBuffer[AnsiPathChars];
    char newBuffer[AnsiPathChars];
    return MoveFileA(ToAnsiPath(existingPath, existingBuffer), ToAnsiPath(newPath, newBuffer));
  }
  WCHAR existingBuffer[LongPathBufferChars];
  WCHAR newBuffer[LongPathBufferChars];
  int fits = 0;
  const WCHAR* existingName = ToLongPath(existingPath, existingBuffer, &fits);
  if (!fits) {
    return 0;
  }
  const WCHAR* newName = ToLongPath(newPath, newBuffer, &fits);
  if (!fits) {
    return 0;
  }
  return MoveFileW(existingName, newName);
}

BOOL LongPathDeleteFile(const WCHAR* path) {
  if (!IsWindowsNT()) {
    char buffer[AnsiPathChars];
    return DeleteFileA(ToAnsiPath(path, buffer));
  }
  WCHAR buffer[LongPathBufferChars];
  int fits = 0;
  const WCHAR* name = ToLongPath(path, buffer, &fits);
  return fits ? DeleteFileW(name) : 0;
}

BOOL LongPathCreateDirectory(const WCHAR* path, LPSECURITY_ATTRIBUTES securityAttributes) {
  if (!IsWindowsNT()) {
    char buffer[AnsiPathChars];
    return CreateDirectoryA(ToAnsiPath(path, buffer), securityAttributes);
  }
  WCHAR buffer[LongPathBufferChars];
  int fits = 0;
  const WCHAR* name = ToLongPath(path, buffer, &fits);
  return fits ? CreateDirectoryW(name, securityAttributes) : 0;
}

BOOL LongPathRemoveDirectory(const WCHAR* path) {
  if (!IsWindowsNT()) {
    char buffer[AnsiPathChars];
    return RemoveDirectoryA(ToAnsiPath(path, buffer));
  }
  WCHAR buffer[LongPathBufferChars];
  int fits = 0;
  const WCHAR* name = ToLongPath(path, buffer, &fits);
  return fits ? RemoveDirectoryW(name) : 0;
}

BOOL LongPathSetFileAttributes(const WCHAR* path, DWORD attributes) {
  if (!IsWindowsNT()) {
    char buffer[AnsiPathChars];
    return SetFileAttributesA(ToAnsiPath(path, buffer), attributes);
  }
  WCHAR buffer[LongPathBufferChars];
  int fits = 0;
  const WCHAR* name = ToLongPath(path, buffer, &fits);
  return fits ? SetFileAttributesW(name, attributes) : 0;
}

HANDLE LongPathFindFirstFile(const WCHAR* pattern, WIN32_FIND_DATAW* findData) {
  if (IsWindowsNT()) {
    WCHAR buffer[LongPathBufferChars];
    int fits = 0;
    const WCHAR* name = ToLongPath(pattern, buffer, &fits);
    return fits ? FindFirstFileW(name, findData) : INVALID_HANDLE_VALUE;
  }
  char buffer[AnsiPathChars];
  WIN32_FIND_DATAA ansi;
  HANDLE search = FindFirstFileA(ToAnsiPath(pattern, buffer), &ansi);
  if (search == INVALID_HANDLE_VALUE) {
    return search;
  }
  FindDataToWide(findData, &ansi);
  return search;
}

BOOL LongPathFindNextFile(HANDLE search, WIN32_FIND_DATAW* findData) {
  if (IsWindowsNT()) {
    return FindNextFileW(search, findData);
  }
  WIN32_FIND_DATAA ansi;
  BOOL result = FindNextFileA(search, &ansi);
  if (result == 0) {
    return 0;
  }
  FindDataToWide(findData, &ansi);
  return result;
}

UINT LongPathExtractIconEx(const WCHAR* path, int iconIndex, HICON* largeIcons, HICON* smallIcons,
                           UINT iconCount) {
  if (IsWindowsNT()) {
    // The shell takes the path as it stands: no extended-length form, no limit.
    return ExtractIconExW(path, iconIndex, largeIcons, smallIcons, iconCount);
  }
  char buffer[AnsiPathChars];
  return ExtractIconExA(ToAnsiPath(path, buffer), iconIndex, largeIcons, smallIcons, iconCount);
}
