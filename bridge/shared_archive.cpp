#include "bridge/shared_archive.h"

#include <windows.h>

#include "bridge/file_access.h"
#include "bridge/system_text.h"

namespace {

// A file's name, size and time of last writing, "" parts when it is not there.
std::string FileIdentity(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(WideFromUtf8(name).c_str(), GetFileExInfoStandard, &data);
  return name + " " + std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) +
         " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// Java makes its archives read-only; one mapped by a running Java stays.
void RemoveArchive(const std::wstring& file) {
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(file.c_str());
}

// Whether the file begins as the archives Java makes of an application's
// classes do (a dynamic archive, or from Java 25 an ahead-of-time cache,
// which is a static one). Java passes over one that does not, and would never
// make it again: such a file is removed, and the next run makes a new one.
bool LooksLikeArchive(const std::wstring& file) {
  HANDLE opened = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  unsigned char magic[4] = {};
  DWORD n = 0;
  bool read = ReadFile(opened, magic, sizeof magic, &n, nullptr) && n == sizeof magic;
  CloseHandle(opened);
  return read && (magic[0] == 0xA8 || magic[0] == 0xA2) && magic[1] == 0xAB && magic[2] == 0x0B &&
         magic[3] == 0xF0;
}

}  // namespace

SharedArchive FindSharedArchive(const std::string& use, const std::string& java,
                                const std::vector<std::string>& jars) {
  SharedArchive archive;
  const std::wstring temp = UserTempFolder();
  if (temp.empty()) return archive;
  // The runtime by its java.exe and its release file (which names its exact
  // build), the jars by what changes when they are replaced.
  std::vector<std::string> identity = {FileIdentity(java)};
  std::wstring javaName = WideFromUtf8(java);
  size_t bin = javaName.find_last_of(L'\\');
  bin = bin == std::wstring::npos || bin == 0 ? std::wstring::npos
                                              : javaName.find_last_of(L'\\', bin - 1);
  if (bin != std::wstring::npos) {
    identity.push_back(FileIdentity(Utf8FromWide(javaName.substr(0, bin + 1) + L"release")));
  }
  for (const std::string& jar : jars) identity.push_back(FileIdentity(jar));
  archive.file = Utf8FromWide(temp) + SharedArchiveName(use, identity);
  const std::wstring file = WideFromUtf8(archive.file);
  archive.exists = IsFile(file);
  if (archive.exists && !LooksLikeArchive(file)) {
    RemoveArchive(file);
    archive.exists = IsFile(file);
  }
  archive.dumpTo = archive.file + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  return archive;
}

void KeepSharedArchive(const std::string& use, const SharedArchive& archive, bool runGaveSource) {
  if (archive.file.empty()) return;
  const std::wstring made = WideFromUtf8(archive.dumpTo);
  const std::wstring file = WideFromUtf8(archive.file);
  if (archive.exists) {
    if (!runGaveSource) RemoveArchive(file);
    return;
  }
  // Another bridge may have put one in place meanwhile: the first stays.
  if (!runGaveSource || !IsFile(made) || !MoveFileExW(made.c_str(), file.c_str(), 0)) {
    RemoveArchive(made);
    return;
  }
  RemoveOtherArchives(use, archive);
}

void RemoveOtherArchives(const std::string& use, const SharedArchive& archive) {
  if (archive.file.empty()) return;
  const std::wstring file = WideFromUtf8(archive.file);
  const std::wstring temp = UserTempFolder();
  const size_t name = file.find_last_of(L'\\') + 1;
  WIN32_FIND_DATAW found;
  HANDLE search =
      FindFirstFileW((temp + L"dravik-" + WideFromUtf8(use) + L"-*.jsa").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (_wcsicmp(found.cFileName, file.c_str() + name) != 0) RemoveArchive(temp + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}
