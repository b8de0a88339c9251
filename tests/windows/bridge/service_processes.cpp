#include "tests/windows/bridge/service_processes.h"

#include <windows.h>

#include "bridge/engines/engine.h"
#include "bridge/engines/jvm_flags.h"
#include "bridge/service_client/protocol.h"
#include "tests/windows/decompile/plugin_folder.h"

namespace {

std::string FileName(const std::wstring& path) {
  return ToUtf8(path.substr(path.find_last_of(L'\\') + 1));
}

}  // namespace

std::wstring ServicePortFileFor(const std::wstring& home) {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  const std::string name = ServicePortFileName(ToUtf8(home));
  return std::wstring(temp, n > MAX_PATH ? 0 : n) + std::wstring(name.begin(), name.end());
}

std::vector<std::wstring> ServiceProcesses(const std::wstring& portFile) {
  // Linux's java has the port file by its Unix name, the stand-in java.exe
  // that waits for it the Windows one; a real Windows runtime's java.exe is
  // the service itself (Wine shows a Windows program's command line).
  const std::string name = (TestJavaIsStandIn() ? "/" : "\\") + FileName(portFile);
  return ProcessesWith({"dravik.service.DecompileService", name});
}

void EndServices(const std::wstring& portFile) {
  for (int round = 0; round < 50; ++round) {
    std::vector<std::wstring> ids = ServiceProcesses(portFile);
    if (ids.empty()) break;
    KillProcesses(ids);
    Sleep(200);
  }
  for (const wchar_t* suffix : {L"", L".start", L".lock", L".tmp", L".crash"}) {
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

unsigned RunServiceUntilItEnds(const std::wstring& java, const std::wstring& home,
                               const std::wstring& portFile, unsigned limitMs) {
  const std::string command = ServiceCommandLine(
      ToUtf8(java), ServiceJavaOptions(0, "", "256m", ""), ToUtf8(home), ToUtf8(portFile), "", "");
  const std::wstring input = portFile + L".test-input";
  WriteFileBytes(input, "0123456789abcdef0123456789abcdef\n");
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE secret = CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = secret;
  PROCESS_INFORMATION process = {};
  int n = MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, &wide[0], n);
  unsigned code = 999;
  if (CreateProcessW(nullptr, &wide[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                     &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0) {
      DWORD exitCode = 999;
      GetExitCodeProcess(process.hProcess, &exitCode);
      code = exitCode;
    } else {
      TerminateProcess(process.hProcess, 999);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(secret);
  DeleteFileW(input.c_str());
  return code;
}
