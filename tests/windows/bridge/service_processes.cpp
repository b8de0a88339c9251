#include "tests/windows/bridge/service_processes.h"

#include <windows.h>

#include "bridge/service_protocol.h"
#include "tests/windows/decompile/plugin_folder.h"

namespace {

std::string FileName(const std::wstring& path) {
  return ToUtf8(path.substr(path.find_last_of(L'\\') + 1));
}

void RunAndWait(std::wstring line) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return;
  }
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

}  // namespace

std::wstring ServicePortFileFor(const std::wstring& home) {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  const std::string name = ServicePortFileName(ToUtf8(home));
  return std::wstring(temp, n > MAX_PATH ? 0 : n) + std::wstring(name.begin(), name.end());
}

std::vector<std::wstring> ServiceProcesses(const std::wstring& portFile) {
  // Linux's java has the port file by its Unix name; the stand-in java.exe
  // that waits for it has the Windows one.
  const std::string name = FileName(portFile);
  std::vector<std::wstring> ids;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return ids;
  do {
    if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
    std::string line = ReadFileBytes(L"Z:\\proc\\" + std::wstring(found.cFileName) + L"\\cmdline");
    if (line.find("dravik.service.DecompileService") != std::string::npos &&
        line.find("/" + name) != std::string::npos) {
      ids.push_back(found.cFileName);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return ids;
}

void EndServices(const std::wstring& portFile) {
  for (int round = 0; round < 50; ++round) {
    std::vector<std::wstring> ids = ServiceProcesses(portFile);
    if (ids.empty()) break;
    for (const std::wstring& id : ids) RunAndWait(L"Z:\\bin\\kill -9 " + id);
    Sleep(200);
  }
  for (const wchar_t* suffix : {L"", L".start", L".lock", L".tmp"}) {
    DeleteFileW((portFile + suffix).c_str());
  }
}

std::string NewPortFileText(const std::wstring& portFile, const std::string& previous,
                            unsigned limitMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(100)) {
    std::string text = ReadFileBytes(portFile);
    if (text != previous && ParsePortFile(text).valid) return text;
  }
  return "";
}
