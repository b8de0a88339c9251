// How the plugin asks a running jad.exe to stop: an event named after the
// bridge's process id, made by the plugin before the process runs. The
// bridge, on seeing it set, ends its decompiler's Java run and removes its
// temporary files before it ends; a program that knows nothing of it (the
// original Jad) is ended from outside instead.
#pragma once

#include <wchar.h>
#include <windows.h>

#include <string>

inline std::wstring CancelEventName(DWORD processId) {
  wchar_t name[48];
  swprintf(name, sizeof name / sizeof name[0], L"Local\\dravik-cancel-%lu",
           static_cast<unsigned long>(processId));
  return name;
}
