// Runs lister.exe from beside the test executable and reads what it wrote.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ListerRun {
  int exit_code = -1;
  std::vector<std::string> log;  // the lines of its --log file

  bool Has(const std::string& line) const;
  // The index of the first line that starts with prefix, or -1.
  int Find(const std::string& prefix) const;
};

// A fresh scratch folder beside the test executable (Windows path, trailing
// backslash), emptied first.
std::wstring ScratchFolder(const std::wstring& name);

// lister.exe with these arguments (each quoted) and --log into folder; waits
// up to a minute.
ListerRun RunLister(const std::vector<std::wstring>& args, const std::wstring& folder);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
