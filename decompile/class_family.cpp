#include "decompile/class_family.h"

#include <stdlib.h>
#include <wchar.h>

#include "bridge/jad/family_bounds.h"
#include "decompile/long_path.h"

DWORD FamilyFileLimit = MostFamilyFiles;
DWORD FamilyByteLimit = MostFamilyBytes;

namespace {

const WCHAR ClassExtension[] = L".class";
enum { ClassExtensionChars = sizeof ClassExtension / sizeof(WCHAR) - 1 };

// The first growth of the list of names: more than any one name takes, so that
// doubling always makes room for the next.
const size_t FirstNamesChars = 4096;

// The names that go with the shown file, each terminated, one after the other
// in a block from malloc; and what the scan counted, the shown file included.
struct FamilyNames {
  WCHAR* text;
  size_t used;
  size_t capacity;
  DWORD files;
  ULONGLONG bytes;
};

// The names a copy composes: the scan's pattern, then each member's source,
// and its copy. Past the classic limit, so the layer converts them; on the
// heap, as two extended-length names are much for a host thread's stack.
struct CopyNames {
  WCHAR source[LongPathBufferChars];
  WCHAR copy[LongPathBufferChars];
};

// The length of a stem up to its first '$' after those it begins with (a
// class may be named "$Outer"), or the whole stem without one.
int PrefixLength(const WCHAR* name, int stemLength) {
  int leading = 0;
  while (leading < stemLength && name[leading] == L'$') ++leading;
  const WCHAR* dollar = wmemchr(name + leading, L'$', stemLength - leading);
  return dollar == nullptr ? stemLength : static_cast<int>(dollar - name);
}

// A file of the family whose prefix is shown's first prefixLength characters.
// The file system compares names without regard to case, and so does Jad when
// it opens a member.
bool IsMember(WIN32_FIND_DATAW* found, const WCHAR* shown, int prefixLength) {
  if ((found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  found->cFileName[MAX_PATH - 1] = L'\0';
  int stem = ClassStemLength(found->cFileName);
  return stem >= 0 && PrefixLength(found->cFileName, stem) == prefixLength &&
         _wcsnicmp(found->cFileName, shown, prefixLength) == 0;
}

bool Remember(FamilyNames* names, const WCHAR* name) {
  size_t length = wcslen(name) + 1;
  if (names->used + length > names->capacity) {
    size_t capacity = names->capacity == 0 ? FirstNamesChars : names->capacity * 2;
    WCHAR* grown = static_cast<WCHAR*>(realloc(names->text, capacity * sizeof(WCHAR)));
    if (grown == nullptr) {
      return false;
    }
    names->text = grown;
    names->capacity = capacity;
  }
  wmemcpy(names->text + names->used, name, length);
  names->used += length;
  return true;
}

// The folder part of path (folderChars characters) and then name, whole, in
// destination; false when it does not fit.
bool ComposeInFolder(WCHAR* destination, const WCHAR* path, size_t folderChars, const WCHAR* name) {
  if (folderChars >= LongPathBufferChars) {
    return false;
  }
  wmemcpy(destination, path, folderChars);
  destination[folderChars] = L'\0';
  return WholeWideAppend(destination, name, LongPathBufferChars) != 0;
}

// One scan for <prefix>*.class, each name it returns checked by the exact rule:
// the members other than the shown file are remembered, every member counted.
// False when the scan fails, a name cannot be held, or the family is past its
// bounds; the scan stops there.
bool ScanFamily(const WCHAR* pattern, const WCHAR* shown, int prefixLength, FamilyNames* names) {
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool within = true;
  do {
    if (!IsMember(&found, shown, prefixLength)) {
      continue;
    }
    ++names->files;
    names->bytes += (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    within = names->files <= FamilyFileLimit && names->bytes <= FamilyByteLimit &&
             (_wcsicmp(found.cFileName, shown) == 0 || Remember(names, found.cFileName));
  } while (within && LongPathFindNextFile(search, &found));
  FindClose(search);
  return within;
}

void CopyMembers(const WCHAR* classFilePath, size_t folderChars, const WCHAR* folder,
                 const FamilyNames& names, CopyNames* work) {
  for (size_t at = 0; at < names.used; at += wcslen(names.text + at) + 1) {
    const WCHAR* name = names.text + at;
    work->copy[0] = L'\0';
    if (ComposeInFolder(work->source, classFilePath, folderChars, name) &&
        WholeWideAppend(work->copy, folder, LongPathBufferChars) &&
        WholeWideAppend(work->copy, L"\\", LongPathBufferChars) &&
        WholeWideAppend(work->copy, name, LongPathBufferChars)) {
      LongPathCopyFile(work->source, work->copy, TRUE);
    }
  }
}

}  // namespace

const WCHAR* FileNameOf(const WCHAR* path) {
  const WCHAR* name = path;
  for (const WCHAR* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\' || *at == L'/' || *at == L':') {
      name = at + 1;
    }
  }
  return name;
}

int ClassStemLength(const WCHAR* name) {
  size_t length = wcslen(name);
  if (length < ClassExtensionChars ||
      _wcsicmp(name + length - ClassExtensionChars, ClassExtension) != 0) {
    return -1;
  }
  return static_cast<int>(length - ClassExtensionChars);
}

void CopyClassFamily(const WCHAR* classFilePath, const WCHAR* folder) {
  const WCHAR* shown = FileNameOf(classFilePath);
  int stem = ClassStemLength(shown);
  if (stem < 0) {
    return;
  }
  int prefixLength = PrefixLength(shown, stem);
  size_t folderChars = static_cast<size_t>(shown - classFilePath);
  FamilyNames names = {nullptr, 0, 0, 0, 0};
  CopyNames* work = static_cast<CopyNames*>(malloc(sizeof(CopyNames)));
  // The folder part and the prefix stand together in the path.
  if (work != nullptr &&
      ComposeInFolder(work->source, classFilePath, folderChars + prefixLength, L"*.class") &&
      ScanFamily(work->source, shown, prefixLength, &names)) {
    CopyMembers(classFilePath, folderChars, folder, names, work);
  }
  free(names.text);
  free(work);
}
