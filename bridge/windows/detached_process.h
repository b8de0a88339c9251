// A program started detached and without a window, so that it outlives the
// bridge that starts it (the decompile service, a training run).
#pragma once

#include <windows.h>

#include <string>

// Starts line in directory with input as its standard input (NUL when null)
// and NUL as its output; no other handle is inherited. priority: a process
// priority class, 0 for the bridge's own. Its process id, 0 when it did not
// start.
DWORD StartDetached(std::wstring line, const std::wstring& directory, HANDLE input, DWORD priority);
