// Runs lister.exe from beside the test executable and reads what it wrote.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ListerRun {
  int exit_code = -1;
  std::vector<std::string> log;    // the lines of its --log file, but
  std::vector<std::string> times;  // those that say how long an export call took

  bool Has(const std::string& line) const;
  // The index of the first line that starts with prefix, or -1.
  int Find(const std::string& prefix) const;
};

// A fresh scratch folder beside the test executable (Windows path, trailing
// backslash), emptied first.
std::wstring ScratchFolder(const std::wstring& name);

// lister.exe with these arguments (each quoted) and --log into folder; waits
// up to limitMs (a minute by default), then ends it.
ListerRun RunLister(const std::vector<std::wstring>& args, const std::wstring& folder,
                    DWORD limitMs = 60000);

// The host's log line for a WM_COMMAND the plugin posts to the list window,
// e.g. Posted("itm_percent 50", "fffe0032"): its wParam, MAKELONG(value, item)
// with the top bit set, is widened with its sign to the width of wParam, so
// the 64-bit build logs 0xfffffffffffe0032 and the 32-bit one 0xfffe0032.
std::string Posted(const std::string& itemAndValue, const std::string& low32Hex);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
