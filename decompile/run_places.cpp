#include "decompile/run_places.h"

#include "decompile/long_path.h"
#include "host/module_state.h"

namespace {

// 16 hex digits of the FNV-1a hash of the directory, letters folded.
void HashName(const WCHAR* directory, WCHAR* hex) {
  unsigned long long hash = 14695981039346656037ull;
  for (const WCHAR* c = directory; *c != L'\0'; ++c) {
    WCHAR folded = *c;
    CharLowerBuffW(&folded, 1);
    hash = (hash ^ folded) * 1099511628211ull;
  }
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = L"0123456789abcdef"[hash & 15];
  hex[16] = L'\0';
}

// The folder of the host's settings file, without a trailing backslash; false
// when the host named none (the name has no folder).
bool SettingsFolder(WCHAR* folder) {
  int n = MultiByteToWideChar(CP_ACP, 0, DefaultIniName, -1, folder, MAX_PATH);
  if (n <= 0) return false;
  WCHAR* backslash = wcsrchr(folder, L'\\');
  if (backslash == nullptr || backslash == folder) return false;
  *backslash = L'\0';
  return true;
}

// The user's temporary folder, without a trailing backslash.
bool TempFolder(WCHAR* folder) {
  DWORD n = GetTempPathW(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return false;
  if (folder[n - 1] == L'\\') folder[n - 1] = L'\0';
  return folder[0] != L'\0';
}

}  // namespace

bool ComposeRunPlace(int index, const WCHAR* pluginDirectory, WCHAR* place) {
  place[0] = L'\0';
  WCHAR base[MAX_PATH];
  if (index == 0) {
    if (!WholeWideAppend(place, pluginDirectory, RunFolderChars)) return false;
  } else {
    WCHAR hash[17];
    HashName(pluginDirectory, hash);
    if ((index == 1 && !SettingsFolder(base)) || (index == 2 && !TempFolder(base)) || index > 2 ||
        !WholeWideAppend(place, base, RunFolderChars) ||
        !WholeWideAppend(place, L"\\dravik-runs-", RunFolderChars) ||
        !WholeWideAppend(place, hash, RunFolderChars)) {
      return false;
    }
  }
  return true;
}

bool MakeRunPlace(const WCHAR* place) {
  return LongPathCreateDirectory(place, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void LeaveRunPlace(const WCHAR* place) { LongPathRemoveDirectory(place); }
