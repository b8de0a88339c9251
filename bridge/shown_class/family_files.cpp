#include "bridge/shown_class/family_files.h"

#include <windows.h>

#include "bridge/windows/file_access.h"
#include "bridge/windows/wide_text.h"

namespace {

// The full name, so that a name relative to the current directory has a folder.
std::wstring FullName(const std::wstring& name) {
  DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (n == 0) return L"";
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(name.c_str(), n, &full[0], nullptr);
  full.resize(n < full.size() ? n : 0);
  return full;
}

// The name as the folder holds it (the case on disk), "" when there is none.
std::wstring NameOnDisk(const std::wstring& fullName) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(fullName.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return L"";
  FindClose(search);
  return found.cFileName;
}

}  // namespace

std::vector<ClassFile> ReadClassFamily(const std::wstring& classFile, size_t classBytes) {
  const std::wstring full = FullName(classFile);
  const size_t slash = full.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  const std::wstring folder = full.substr(0, slash + 1);
  const std::string shown = Utf8FromWide(NameOnDisk(full));
  const std::string family = FamilyName(shown);
  if (family.empty()) return {};

  // "Outer*.class" lets the file system pass over everything unrelated; the
  // rule itself is checked on each name.
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + WideFromUtf8(family) + L"*.class").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  size_t total = classBytes;
  bool withinBounds = true;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !InFamily(shown, Utf8FromWide(found.cFileName))) {
      continue;
    }
    total += found.nFileSizeLow;
    names.push_back(found.cFileName);
    withinBounds =
        found.nFileSizeHigh == 0 && names.size() < MostFamilyFiles && total <= MostFamilyBytes;
  } while (withinBounds && FindNextFileW(search, &found));
  FindClose(search);
  if (!withinBounds) return {};

  std::vector<ClassFile> members;
  total = classBytes;
  for (const std::wstring& name : names) {
    ClassFile member;
    member.name = Utf8FromWide(name);
    // A file that went or grew since the search is left out or ends the family.
    if (!ReadBytes(folder + name, MostFamilyBytes, &member.bytes) || member.bytes.empty()) continue;
    total += member.bytes.size();
    if (total > MostFamilyBytes) return {};
    members.push_back(std::move(member));
  }
  return members;
}
