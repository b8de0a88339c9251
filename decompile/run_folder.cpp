#include "decompile/run_folder.h"

#include <stdlib.h>

#include "decompile/long_path.h"

const WCHAR RunFolderMarker[] = L"dravik-run.lock";

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

// How often one place is swept by the runs of one loaded plugin.
const DWORD SweepIntervalMs = 10 * 60 * 1000;

// <parent>\dravik-run-<stamp>, and -<attempt> behind it from the second
// attempt on; false when it does not fit.
bool ComposeRunFolder(const WCHAR* parent, const WCHAR* stamp, int attempt, WCHAR* folder) {
  folder[0] = L'\0';
  bool fits = WholeWideAppend(folder, parent, RunFolderChars) &&
              WholeWideAppend(folder, L"\\dravik-run-", RunFolderChars) &&
              WholeWideAppend(folder, stamp, RunFolderChars);
  if (fits && attempt > 1) {
    WCHAR suffix[16] = L"-";
    _itow(attempt, suffix + 1, 10);
    fits = WholeWideAppend(folder, suffix, RunFolderChars);
  }
  return fits;
}

// The folder's marker, opened for this caller alone and deleted when closed:
// created when create is true and there is none yet, else only when it is
// there or not (a sweep takes over a folder whose run never made one).
// INVALID_HANDLE_VALUE when another holds it, or it cannot be had.
HANDLE TakeMarker(const WCHAR* folder, bool createNew) {
  WCHAR name[LongPathBufferChars];
  name[0] = L'\0';
  if (!WholeWideAppend(name, folder, LongPathBufferChars) ||
      !WholeWideAppend(name, L"\\", LongPathBufferChars) ||
      !WholeWideAppend(name, RunFolderMarker, LongPathBufferChars)) {
    return INVALID_HANDLE_VALUE;
  }
  return LongPathCreateFile(name, GENERIC_WRITE, 0, nullptr, createNew ? CREATE_NEW : OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Deletes every file in folder, read-only ones included; false when one stays.
bool DeleteFilesIn(const WCHAR* folder) {
  // A file name of up to 259 characters behind a run folder's name: past the
  // classic limit, so the layer passes it in the extended-length form.
  WCHAR name[LongPathBufferChars];
  name[0] = L'\0';
  if (!WholeWideAppend(name, folder, LongPathBufferChars) ||
      !WholeWideAppend(name, L"\\*", LongPathBufferChars)) {
    return false;
  }
  size_t folderLength = wcslen(folder) + 1;
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(name, &found);
  if (search == INVALID_HANDLE_VALUE) {
    return true;
  }
  bool all = true;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    found.cFileName[MAX_PATH - 1] = L'\0';
    name[folderLength] = L'\0';
    if (!WholeWideAppend(name, found.cFileName, LongPathBufferChars)) {
      all = false;
      continue;
    }
    // CopyFile carries a source's read-only attribute over to its copy.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
      LongPathSetFileAttributes(name, FILE_ATTRIBUTE_NORMAL);
    }
    if (!LongPathDeleteFile(name) && GetLastError() != ERROR_FILE_NOT_FOUND) all = false;
  } while (LongPathFindNextFile(search, &found));
  FindClose(search);
  return all;
}

bool RemoveFolder(const WCHAR* folder) {
  if (LongPathRemoveDirectory(folder)) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A left folder, its marker in hand: one try, no waiting.
void SweepFolder(const WCHAR* folder, HANDLE marker) {
  // The marker goes last: while it is held, no run takes the folder for its own.
  DeleteFilesIn(folder);
  CloseHandle(marker);
  RemoveFolder(folder);
}

// Whether parent was swept by this module less than SweepIntervalMs ago (or
// another run of it sweeps just now); notes it as swept now when not.
bool SweptLately(const WCHAR* parent) {
  // One place is all a plugin uses while it works; any other is new to it.
  static WCHAR lastPlace[RunFolderChars];
  static DWORD lastSweep = 0;
  static bool swept = false;
  // Runs of several windows at once: one looks while the others go on.
  static LONG looking = 0;
  if (InterlockedCompareExchange(&looking, 1, 0) != 0) return true;
  DWORD now = GetTickCount();
  const bool lately = swept && wcscmp(lastPlace, parent) == 0 && now - lastSweep < SweepIntervalMs;
  if (!lately) {
    lastPlace[0] = L'\0';
    swept = WholeWideAppend(lastPlace, parent, RunFolderChars);
    lastSweep = now;
  }
  InterlockedExchange(&looking, 0);
  return lately;
}

}  // namespace

bool ClaimRunFolder(const WCHAR* parent, const WCHAR* stamp, RunFolder* folder) {
  folder->marker = INVALID_HANDLE_VALUE;
  for (int attempt = 1; attempt <= ClaimAttempts; ++attempt) {
    if (!ComposeRunFolder(parent, stamp, attempt, folder->path)) {
      return false;
    }
    if (!LongPathCreateDirectory(folder->path, nullptr)) {
      // A folder that exists is someone else's; any other failure (no write
      // access, no such directory) would be the same under every name.
      if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
      continue;
    }
    folder->marker = TakeMarker(folder->path, true);
    if (folder->marker != INVALID_HANDLE_VALUE) return true;
    // A sweep took the new folder before its marker was there: it is the
    // sweep's to remove.
  }
  return false;
}

void RemoveLeftRunFolders(const WCHAR* parent) {
  WCHAR pattern[RunFolderChars];
  pattern[0] = L'\0';
  if (!WholeWideAppend(pattern, parent, RunFolderChars) ||
      !WholeWideAppend(pattern, L"\\dravik-run-*", RunFolderChars) || SweptLately(parent)) {
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = LongPathFindFirstFile(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    WCHAR folder[RunFolderChars];
    folder[0] = L'\0';
    found.cFileName[MAX_PATH - 1] = L'\0';
    if (!WholeWideAppend(folder, parent, RunFolderChars) ||
        !WholeWideAppend(folder, L"\\", RunFolderChars) ||
        !WholeWideAppend(folder, found.cFileName, RunFolderChars)) {
      continue;
    }
    // A live run's marker is held for it alone: then this fails.
    HANDLE marker = TakeMarker(folder, false);
    if (marker != INVALID_HANDLE_VALUE) SweepFolder(folder, marker);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void RemoveRunFolder(RunFolder* folder) {
  if (folder->marker != INVALID_HANDLE_VALUE) CloseHandle(folder->marker);
  folder->marker = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < RemovalAttempts; ++attempt) {
    if (DeleteFilesIn(folder->path) && RemoveFolder(folder->path)) return;
    Sleep(RemovalPauseMs);
  }
}
