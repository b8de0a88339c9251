#include "bridge/shared_archive.h"

#include <windows.h>

#include "bridge/file_access.h"
#include "bridge/system_text.h"

namespace {

std::wstring TempFolderName() {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  return n > 0 && n <= MAX_PATH ? std::wstring(temp) : L"";
}

// A file's name, size and time of last writing, "" parts when it is not there.
std::string FileIdentity(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(WideFromUtf8(name).c_str(), GetFileExInfoStandard, &data);
  return name + " " + std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) +
         " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

}  // namespace

SharedArchive FindSharedArchive(const std::string& use, const std::string& java,
                                const std::vector<std::string>& jars) {
  SharedArchive archive;
  const std::wstring temp = TempFolderName();
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
  archive.exists = IsFile(WideFromUtf8(archive.file));
  archive.dumpTo = archive.file + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  return archive;
}

void KeepSharedArchive(const std::string& use, const SharedArchive& archive, bool runGaveSource) {
  if (archive.file.empty() || archive.exists) return;
  const std::wstring made = WideFromUtf8(archive.dumpTo);
  const std::wstring file = WideFromUtf8(archive.file);
  // Another bridge may have put one in place meanwhile: the first stays.
  if (!runGaveSource || !IsFile(made) || !MoveFileExW(made.c_str(), file.c_str(), 0)) {
    DeleteFileW(made.c_str());
    return;
  }
  const std::wstring temp = TempFolderName();
  const size_t name = file.find_last_of(L'\\') + 1;
  WIN32_FIND_DATAW found;
  HANDLE search =
      FindFirstFileW((temp + L"dravik-" + WideFromUtf8(use) + L"-*.jsa").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (_wcsicmp(found.cFileName, file.c_str() + name) != 0) {
      // Java makes its archives read-only; one mapped by a running Java stays.
      const std::wstring other = temp + found.cFileName;
      SetFileAttributesW(other.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(other.c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}
