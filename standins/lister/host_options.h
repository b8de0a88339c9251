// The host's command line.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
  std::wstring plugin, file;
  std::wstring log, dump_text, dump_formats, screenshot;
  std::wstring script;
  bool has_script = false;
  bool ansi = false;
  bool force = false;
  bool dark = false;
  int width = 800, height = 600;
};

// The command line without the program name. False, with error set, for
// anything the grammar does not allow.
bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions* options,
                      std::wstring* error);

// A full Windows path with backslashes; under Wine a Unix path /x/y is taken
// as Z:\x\y.
std::wstring FullPath(const std::wstring& path);
