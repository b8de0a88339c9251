#include "bridge/windows/file_access.h"

#include <wchar.h>

namespace {

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

bool EndsWithJava(const std::wstring& name) {
  return name.size() > 5 && _wcsicmp(name.c_str() + name.size() - 5, L".java") == 0;
}

// Depth first; firstJava keeps the first ".java" file seen.
bool FindUnder(const std::wstring& folder, const std::wstring& preferredName,
               std::wstring* preferred, std::wstring* firstJava) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool done = false;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      done = FindUnder(path, preferredName, preferred, firstJava);
    } else if (_wcsicmp(name.c_str(), preferredName.c_str()) == 0) {
      *preferred = path;
      done = true;
    } else if (firstJava->empty() && EndsWithJava(name)) {
      *firstJava = path;
    }
  } while (!done && FindNextFileW(search, &found));
  FindClose(search);
  return done;
}

// The start of a bridge's temporary folder's name; its process id follows.
const wchar_t TempFolderPrefix[] = L"dravik-jad-";
enum { TempFolderPrefixChars = sizeof TempFolderPrefix / sizeof(wchar_t) - 1 };

// Removes the folders that bridges which are gone left behind: a bridge ended
// from outside (the plugin's time limit) cannot remove its own. The process id
// in a folder's name tells whether its bridge still runs.
void RemoveLeftFolders(const std::wstring& temp) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temp + TempFolderPrefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    DWORD id = wcstoul(found.cFileName + TempFolderPrefixChars, nullptr, 10);
    if (id == 0 || !ProcessRuns(id)) RemoveTree(temp + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

bool ReadBytes(const std::wstring& name, size_t maxBytes, std::string* bytes) {
  // Shared for deleting too: the service may replace or remove its port file
  // while a bridge reads it.
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok =
      GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
  if (ok) {
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ok = bytes->empty() ||
         (ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
          read == bytes->size());
  }
  CloseHandle(file);
  return ok;
}

bool WriteBytes(const std::wstring& name, const std::string& bytes) {
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() ||
            (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size());
  CloseHandle(file);
  return ok;
}

bool IsFile(const std::wstring& name) {
  DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ProcessRuns(DWORD id) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (process == nullptr) return false;
  bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

void RemoveFile(const std::wstring& name) {
  SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(name.c_str());
}

uint64_t FileAgeMs(const std::wstring& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return UINT64_MAX;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  uint64_t written = ticks(data.ftLastWriteTime);
  return ticks(now) > written ? (ticks(now) - written) / 10000 : 0;
}

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  path.resize(n < path.size() ? n : 0);
  size_t backslash = path.find_last_of(L'\\');
  return backslash == std::wstring::npos ? L"." : path.substr(0, backslash);
}

std::wstring UserTempFolder() {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  return n > 0 && n <= MAX_PATH ? std::wstring(temp) : L"";
}

TempFolder::TempFolder() {
  const std::wstring temp = UserTempFolder();
  if (temp.empty()) return;
  RemoveLeftFolders(temp);
  std::wstring base = temp + TempFolderPrefix + std::to_wstring(GetCurrentProcessId());
  // Another bridge of the same process id (a reused id) may have left one.
  for (int attempt = 0; attempt < 100 && !created_; ++attempt) {
    path_ = base + L"-" + std::to_wstring(GetTickCount() + attempt);
    created_ = CreateDirectoryW(path_.c_str(), nullptr) != 0;
  }
}

TempFolder::~TempFolder() {
  if (created_) RemoveTree(path_);
}

std::wstring FindSourceFile(const std::wstring& folder, const std::wstring& preferredName) {
  std::wstring preferred, firstJava;
  FindUnder(folder, preferredName, &preferred, &firstJava);
  return preferred.empty() ? firstJava : preferred;
}
