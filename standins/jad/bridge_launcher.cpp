// The Windows side of the Procyon bridge, copied beside the plugin as jad.exe
// with the script jad-procyon next to it. Wine starts a Unix program from
// CreateProcessW but gives back no handle that can be waited for, so a run
// would read Jad's output before it is written. This program is what the run
// starts and waits for: it starts the script through /bin/sh, with Jad's
// arguments behind a marker name, and returns once the script has created the
// marker (with its exit code) in the current directory.
#include <stdio.h>
#include <windows.h>

#include <string>

namespace {

// No run should take this long; a script killed before it wrote the marker must
// not hold the caller for ever.
const DWORD GiveUpAfterMs = 10 * 60 * 1000;

std::wstring OwnDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

// The arguments as this program received them, without the program's name.
std::wstring ArgumentsTail() {
  const wchar_t* line = GetCommandLineW();
  bool quoted = false;
  for (; *line != L'\0'; ++line) {
    if (*line == L'"') quoted = !quoted;
    if (!quoted && (*line == L' ' || *line == L'\t')) break;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

std::wstring UnixName(const std::wstring& windowsName) {
  typedef char*(CDECL * ToUnixName)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return L"";
  char* name = toUnix(windowsName.c_str());
  if (name == nullptr) return L"";
  int n = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, name, -1, &wide[0], n);
  HeapFree(GetProcessHeap(), 0, name);
  return wide;
}

}  // namespace

int wmain() {
  std::wstring script = UnixName(OwnDirectory() + L"jad-procyon");
  if (script.empty()) return 3;
  wchar_t current[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length == 0 || length >= MAX_PATH) return 3;
  std::wstring marker = L".jad-bridge-" + std::to_wstring(GetCurrentProcessId()) + L".done";
  DeleteFileW(marker.c_str());

  std::wstring command =
      L"\"Z:\\bin\\sh\" \"" + script + L"\" --marker \"" + marker + L"\" " + ArgumentsTail();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      current, &startup, &process)) {
    return 3;
  }
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (process.hThread != nullptr) CloseHandle(process.hThread);

  DWORD started = GetTickCount();
  while (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - started > GiveUpAfterMs) return 4;
    Sleep(5);
  }
  int code = 1;
  FILE* file = _wfopen(marker.c_str(), L"r");
  if (file != nullptr) {
    if (fscanf(file, "%d", &code) != 1) code = 1;
    fclose(file);
  }
  DeleteFileW(marker.c_str());
  return code;
}
