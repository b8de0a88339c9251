#include "tests/windows/decompile/plugin_folder.h"

#include "host/module_state.h"
#include "tests/windows/test_support.h"

namespace {

std::wstring UniqueTempFolder(const std::wstring& extraName) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"dravik-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + extraName;
}

std::wstring LongForm(const std::wstring& path) {
  return path.size() < 200 ? path : L"\\\\?\\" + path;
}

}  // namespace

PluginFolder::PluginFolder(const std::wstring& extraName)
    : directory_(UniqueTempFolder(extraName)), previousInstance_(PluginInstance) {
  // A folder of an earlier test process with the same id may have stayed.
  RemoveTree(directory_);
  CreateDirectoryW(LongForm(directory_).c_str(), nullptr);
  std::wstring plugin = Path(kPluginFile);
  CopyFileW((ExeDirectory() + kPluginFile).c_str(), LongForm(plugin).c_str(), FALSE);
  module_ = LoadLibraryW(plugin.c_str());
  PluginInstance = module_;
}

PluginFolder::~PluginFolder() {
  // A training run a test's view started would hold the folder's jars.
  EndTrainingRuns(directory_);
  PluginInstance = previousInstance_;
  if (module_ != nullptr) FreeLibrary(module_);
  // A Java just killed may hold its jars a moment longer (Wine lets go of a
  // killed process's files once it has noticed).
  for (int round = 0; round < 20 && FileExists(directory_); ++round) {
    if (round > 0) Sleep(100);
    RemoveTree(directory_);
  }
}

void PluginFolder::InstallFakeJad(const char* mode) {
  CopyFileW((ExeDirectory() + L"fakejad.exe").c_str(), Path(L"jad.exe").c_str(), FALSE);
  SetFakeJadMode(mode);
}

void PluginFolder::SetFakeJadMode(const char* mode) { WriteFileBytes(Path(L"fakejad.mode"), mode); }

std::string PluginFolder::FakeJadLog() const { return ReadFileBytes(Path(L"fakejad.log")); }

void PluginFolder::InstallBridgeJad(const std::string& moreSettings) {
  CopyFileW((ExeDirectory() + L"jad-bridge.exe").c_str(), Path(L"jad.exe").c_str(), FALSE);
  CreateDirectoryW(LongForm(Path(L"decompiler")).c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((ExeDirectory() + L"decompiler\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      CopyFileW((ExeDirectory() + L"decompiler\\" + found.cFileName).c_str(),
                LongForm(Path(L"decompiler\\" + std::wstring(found.cFileName))).c_str(), FALSE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  WriteFileBytes(Path(L"jad.ini"),
                 "[bridge]\r\njava=" + ToUtf8(TestJava()) + "\r\nservice=off\r\n" + moreSettings);
}

std::wstring TestJava() {
  wchar_t java[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"DRAVIK_TEST_JAVA", java, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(java, n) : ExeDirectory() + L"java.exe";
}

bool TestJavaIsStandIn() { return TestJava() == ExeDirectory() + L"java.exe"; }

std::set<std::wstring> PluginFolder::ExtraFiles() const {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(LongForm(Path(L"*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && name != kPluginFile && name != L"jad.exe" &&
        name != L"fakejad.mode" && name != L"fakejad.log" && name != L"fakejad.source" &&
        name != L"jad.ini" && name != L"decompiler") {
      names.insert(name);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::wstring DataFile(const std::wstring& relative) {
  return ExeDirectory() + L"decompile_data\\" + relative;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD n = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(file);
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& directory) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(LongForm(directory + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = directory + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(LongForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(LongForm(path).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(LongForm(directory).c_str());
}

// The bridges' temporary folders in the user's temporary folder.
int CountBridgeTempFolders() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"dravik-jad-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

std::vector<std::wstring> ProcessesWith(const std::vector<std::string>& tokens) {
  // Only this Wine prefix's: another prefix's test (a second checkout at
  // work on the same machine) makes processes of the same command lines, its
  // folders named alike under its own C:.
  wchar_t prefix[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  const std::string ours =
      n > 0 && n < MAX_PATH ? std::string("WINEPREFIX=") + ToUtf8(prefix) + '\0' : "";
  std::vector<std::wstring> ids;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return ids;
  do {
    if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
    const std::wstring process = L"Z:\\proc\\" + std::wstring(found.cFileName);
    std::string line = ReadFileBytes(process + L"\\cmdline");
    if (!ours.empty() && !line.empty() &&
        ('\0' + ReadFileBytes(process + L"\\environ")).find('\0' + ours) == std::string::npos) {
      continue;
    }
    bool all = !line.empty();
    for (const std::string& token : tokens) all = all && line.find(token) != std::string::npos;
    if (all) ids.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return ids;
}

void KillProcesses(const std::vector<std::wstring>& ids) {
  for (const std::wstring& id : ids) {
    std::wstring line = L"Z:\\bin\\kill -9 " + id;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
      continue;
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
}

namespace {

// The Java runs of that main class whose class path is in folder.
std::vector<std::wstring> JavaRuns(const std::wstring& folder, const std::string& mainClass) {
  // The folder's own name, which the class path holds in its Windows form
  // (java.exe) or its Unix one (Linux's java behind the stand-in).
  const std::string name = ToUtf8(folder.substr(folder.find_last_of(L'\\') + 1));
  std::vector<std::wstring> ids;
  for (const char* separator : {"\\", "/"}) {
    for (const std::wstring& id : ProcessesWith({mainClass, name + separator + "decompiler"})) {
      ids.push_back(id);
    }
  }
  return ids;
}

}  // namespace

std::vector<std::wstring> TrainingRuns(const std::wstring& folder) {
  return JavaRuns(folder, "dravik.service.CacheTraining");
}

std::vector<std::wstring> OneShotRuns(const std::wstring& folder) {
  return JavaRuns(folder, "dravik.service.DecompileOnce");
}

bool WaitForTrainingRuns(const std::wstring& folder, unsigned limitMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(250)) {
    if (TrainingRuns(folder).empty()) return true;
  }
  return false;
}

void EndTrainingRuns(const std::wstring& folder) {
  for (int round = 0; round < 50; ++round) {
    std::vector<std::wstring> ids = TrainingRuns(folder);
    if (ids.empty()) return;
    KillProcesses(ids);
    Sleep(200);
  }
}

std::vector<std::wstring> CacheFiles() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"dravik-java-*.jsa").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(std::wstring(temp) + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

void RemoveCaches() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"dravik-java-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring file = std::wstring(temp) + found.cFileName;
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}
