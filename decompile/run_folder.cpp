#include "decompile/run_folder.h"

#include <stdlib.h>

#include "decompile/long_path.h"

namespace {

// How many names a run tries before it gives up: a name is taken only by a
// run at the same tick or by a folder an earlier run could not remove.
const int ClaimAttempts = 64;

// A decompiler that has just ended may hold the folder (its current directory)
// or a file in it a moment longer (seen under Wine: some milliseconds), as may
// a virus scanner a file just written. The removal is tried again for up to a
// second; a file that stays leaves the folder in place.
const int RemovalAttempts = 100;
const DWORD RemovalPauseMs = 10;

// <pluginDirectory>\dravik-run-<stamp>, and -<attempt> behind it from the
// second attempt on; false when it does not fit.
bool ComposeRunFolder(const WCHAR* pluginDirectory, const WCHAR* stamp, int attempt,
                      WCHAR* folder) {
  folder[0] = L'\0';
  bool fits = WholeWideAppend(folder, pluginDirectory, RunFolderChars) &&
              WholeWideAppend(folder, L"\\dravik-run-", RunFolderChars) &&
              WholeWideAppend(folder, stamp, RunFolderChars);
  if (fits && attempt > 1) {
    WCHAR suffix[16] = L"-";
    _itow(attempt, suffix + 1, 10);
    fits = WholeWideAppend(folder, suffix, RunFolderChars);
  }
  return fits;
}

// Deletes every file in folder, read-only ones included.
void DeleteFilesIn(const WCHAR* folder) {
  // A file name of up to 259 characters behind a run folder's name: past the
  // classic limit, so the layer passes it in the extended-length form.
  WCHAR name[LongPathBufferChars];
  name[0] = L'\0';
  if (!WholeWideAppend(name, folder, LongPathBufferChars) ||
      !WholeWideAppend(name, L"\\*", LongPathBufferChars)) {
    return;
  }
  size_t folderLength = wcslen(folder) + 1;
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(name, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    found.cFileName[MAX_PATH - 1] = L'\0';
    name[folderLength] = L'\0';
    if (!WholeWideAppend(name, found.cFileName, LongPathBufferChars)) {
      continue;
    }
    // CopyFile carries a source's read-only attribute over to its copy.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
      LongPathSetFileAttributes(name, FILE_ATTRIBUTE_NORMAL);
    }
    LongPathDeleteFile(name);
  } while (LongPathFindNextFile(search, &found));
  FindClose(search);
}

}  // namespace

bool ClaimRunFolder(const WCHAR* pluginDirectory, const WCHAR* stamp, WCHAR* folder) {
  for (int attempt = 1; attempt <= ClaimAttempts; ++attempt) {
    if (!ComposeRunFolder(pluginDirectory, stamp, attempt, folder)) {
      return false;
    }
    if (LongPathCreateDirectory(folder, nullptr)) {
      return true;
    }
    // A folder that exists is someone else's; any other failure (no write
    // access, no such directory) would be the same under every name.
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
  }
  return false;
}

void RemoveLeftRunFolders(const WCHAR* pluginDirectory) {
  WCHAR pattern[RunFolderChars];
  pattern[0] = L'\0';
  if (!WholeWideAppend(pattern, pluginDirectory, RunFolderChars) ||
      !WholeWideAppend(pattern, L"\\dravik-run-*", RunFolderChars)) {
    return;
  }
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG nowTicks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const ULONGLONG tenMinutes = 10ull * 60 * 10000000;
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const ULONGLONG made = (static_cast<ULONGLONG>(found.ftCreationTime.dwHighDateTime) << 32) |
                           found.ftCreationTime.dwLowDateTime;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || nowTicks < made ||
        nowTicks - made < tenMinutes) {
      continue;
    }
    WCHAR folder[RunFolderChars];
    folder[0] = L'\0';
    found.cFileName[MAX_PATH - 1] = L'\0';
    if (WholeWideAppend(folder, pluginDirectory, RunFolderChars) &&
        WholeWideAppend(folder, L"\\", RunFolderChars) &&
        WholeWideAppend(folder, found.cFileName, RunFolderChars)) {
      RemoveRunFolder(folder);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void RemoveRunFolder(const WCHAR* folder) {
  for (int attempt = 0; attempt < RemovalAttempts; ++attempt) {
    DeleteFilesIn(folder);
    if (LongPathRemoveDirectory(folder)) {
      return;
    }
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return;
    }
    Sleep(RemovalPauseMs);
  }
}
