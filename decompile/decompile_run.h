// The decompiler run: Jad on a temporary copy of a class file in the plugin's
// own directory, and its output read back as text.
#pragma once

#include <windows.h>

// The decimal tick count that names the current run's files; at most 11
// characters and the terminator.
enum { DecompileStampChars = 16 };
extern WCHAR DecompileStamp[DecompileStampChars];

// How long a run waits for Jad, in milliseconds (60 seconds unless a test
// shortens it). A Jad still running then is ended, and the run gives no text.
extern DWORD DecompileWaitLimitMs;

// Jad's output for the class file at classFilePath (any length), as a text from
// malloc that the caller frees; null when there is none. Blocks until Jad has
// ended or has been ended at the wait limit. Runs must not overlap.
char* DecompileClassFile(const WCHAR* classFilePath);
