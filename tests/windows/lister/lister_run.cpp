#include "tests/windows/lister/lister_run.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/windows/test_support.h"

bool ListerRun::Has(const std::string& line) const {
  return std::find(log.begin(), log.end(), line) != log.end();
}

int ListerRun::Find(const std::string& prefix) const {
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::string Posted(const std::string& itemAndValue, const std::string& low32Hex) {
  const char* widening = sizeof(WPARAM) == 8 ? "ffffffff" : "";
  return "posted " + itemAndValue + " wparam=0x" + widening + low32Hex + " lparam=list";
}

std::wstring ScratchFolder(const std::wstring& name) {
  std::wstring folder = ExeDirectory() + name + L"\\";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileW((folder + data.cFileName).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

ListerRun RunLister(const std::vector<std::wstring>& args, const std::wstring& folder,
                    DWORD limitMs) {
  ListerRun run;
  std::wstring log = folder + L"lister.log";
  std::wstring line = L"\"" + ExeDirectory() + L"lister.exe\"";
  std::vector<std::wstring> all = args;
  all.push_back(L"--log");
  all.push_back(log);
  for (const std::wstring& a : all) {
    std::wstring quoted;
    for (wchar_t c : a) quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    line += L" \"" + quoted + L"\"";
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return run;
  }
  if (WaitForSingleObject(process.hProcess, limitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  run.exit_code = static_cast<int>(code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::istringstream lines(ReadBytes(log));
  for (std::string l; std::getline(lines, l);) {
    (l.compare(0, 5, "time ") == 0 ? run.times : run.log).push_back(l);
  }
  return run;
}
