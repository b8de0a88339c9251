// A temporary plugin folder for the decompiler run: a copy of the built plugin
// loaded from it and set as PluginInstance, so the run works in this folder;
// optionally a stand-in Jad beside it. Everything is removed again at the end.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "tests/windows/test_support.h"

class PluginFolder {
 public:
  // extraName, when given, is appended to the folder's name (to reach a
  // chosen path length).
  explicit PluginFolder(const std::wstring& extraName = L"");
  ~PluginFolder();
  PluginFolder(const PluginFolder&) = delete;
  PluginFolder& operator=(const PluginFolder&) = delete;

  bool loaded() const { return module_ != nullptr; }
  // The copy of the plugin loaded from the folder; its exports and import
  // table are that copy's own.
  HMODULE module() const { return module_; }
  // The folder, without a trailing backslash.
  const std::wstring& directory() const { return directory_; }
  std::wstring Path(const std::wstring& name) const { return directory_ + L"\\" + name; }

  // The scriptable fake as jad.exe, told what to do (see standins/jad).
  void InstallFakeJad(const char* mode);
  void SetFakeJadMode(const char* mode);
  // The fake's log: one command line and one current directory per start.
  std::string FakeJadLog() const;
  // The bridge as it ships (jad.exe with the engines in decompiler\), with a
  // jad.ini that names the tests' java.exe (TestJava), turns the resident service off
  // (no test leaves a Java running) and then holds moreSettings.
  void InstallBridgeJad(const std::string& moreSettings = "");

  // The names in the folder, other than the plugin, the decompiler and its files.
  std::set<std::wstring> ExtraFiles() const;

 private:
  std::wstring directory_;
  HMODULE module_ = nullptr;
  HINSTANCE previousInstance_;
};

// The java.exe the bridge's tests run on: the real Windows runtime that
// DRAVIK_TEST_JAVA names (ctest's *.windows_java tests), else the stand-in
// beside the test executable, Linux's java behind a Windows program.
std::wstring TestJava();
// Whether that is the stand-in, whose version a test can choose.
bool TestJavaIsStandIn();

// Test data beside the test executable: decompile_data\<relative>.
std::wstring DataFile(const std::wstring& relative);

// The whole file as bytes; "" when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Deletes a folder with everything in it (extended-length names allowed).
void RemoveTree(const std::wstring& directory);

// The bridges' temporary folders (dravik-jad-*) in the user's temporary folder.
int CountBridgeTempFolders();

// The processes (their ids under Wine's Z:\proc) whose command line holds
// every one of tokens: Linux's and Wine's alike.
std::vector<std::wstring> ProcessesWith(const std::vector<std::string>& tokens);
void KillProcesses(const std::vector<std::wstring>& ids);

// The class-data cache's training runs that a bridge in folder started
// (their class path is in it), and waiting up to limitMs for them to end;
// false when some still run then.
std::vector<std::wstring> TrainingRuns(const std::wstring& folder);
// The same for the bridges' one-shot runs (the engine for one class).
std::vector<std::wstring> OneShotRuns(const std::wstring& folder);
bool WaitForTrainingRuns(const std::wstring& folder, unsigned limitMs);
// Kills them, and waits until they are gone (their files are then free).
void EndTrainingRuns(const std::wstring& folder);

// The class-data caches in the user's temporary folder (dravik-java-*.jsa),
// as full names.
std::vector<std::wstring> CacheFiles();
// Removes them (Java makes them read-only) and the files beside them: no
// runtime has a cache or a training run's record after this.
void RemoveCaches();
