// lister.exe: the stand-in Lister host (see README.md).
#include <objbase.h>
#include <shellapi.h>
#include <stdio.h>
#include <windows.h>

#include "standins/lister/lister_host.h"

int main() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return 2;
  std::vector<std::wstring> args(argv + (count > 0 ? 1 : 0), argv + count);
  LocalFree(argv);

  HostOptions options;
  std::wstring error;
  if (!ParseHostOptions(args, &options, &error)) {
    fwprintf(stderr, L"lister: %ls\n", error.c_str());
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int code = ListerHost(options).Run();
  CoUninitialize();
  return code;
}
