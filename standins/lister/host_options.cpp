#include "standins/lister/host_options.h"

#include <stdio.h>
#include <windows.h>

#include <algorithm>

#include "standins/wine/under_wine.h"

std::wstring FullPath(const std::wstring& path) {
  std::wstring windows = path;
  // Wine's drive Z: is the Unix root.
  if (!windows.empty() && windows[0] == L'/' && RunningUnderWine()) windows = L"Z:" + windows;
  std::replace(windows.begin(), windows.end(), L'/', L'\\');
  wchar_t full[4096];
  DWORD n = GetFullPathNameW(windows.c_str(), 4096, full, nullptr);
  return n > 0 && n < 4096 ? std::wstring(full, n) : windows;
}

bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions* options,
                      std::wstring* error) {
  std::vector<std::wstring> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    auto value = [&](std::wstring* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    bool ok = true;
    if (a == L"--ansi") {
      options->ansi = true;
    } else if (a == L"--force") {
      options->force = true;
    } else if (a == L"--dark") {
      options->dark = true;
    } else if (a == L"--do") {
      ok = value(&options->script);
      options->has_script = true;
    } else if (a == L"--dump-text") {
      ok = value(&options->dump_text);
    } else if (a == L"--dump-formats") {
      ok = value(&options->dump_formats);
    } else if (a == L"--screenshot") {
      ok = value(&options->screenshot);
    } else if (a == L"--log") {
      ok = value(&options->log);
    } else if (a == L"--size") {
      std::wstring size;
      ok = value(&size) &&
           swscanf(size.c_str(), L"%dx%d", &options->width, &options->height) == 2 &&
           options->width > 0 && options->height > 0;
    } else if (a.compare(0, 2, L"--") == 0) {
      *error = L"unknown option " + a;
      return false;
    } else {
      positional.push_back(a);
    }
    if (!ok) {
      *error = L"option " + a + L" needs a value";
      return false;
    }
  }
  if (positional.size() != 2) {
    *error =
        L"usage: lister.exe PLUGIN FILE [--ansi] [--force] [--dark] [--do SCRIPT] [--dump-text F] "
        L"[--dump-formats F] [--screenshot F.png] [--log F] [--size WxH]";
    return false;
  }
  options->plugin = FullPath(positional[0]);
  options->file = FullPath(positional[1]);
  for (std::wstring* path :
       {&options->log, &options->dump_text, &options->dump_formats, &options->screenshot}) {
    if (!path->empty()) *path = FullPath(*path);
  }
  return true;
}
