// The decompiler run: Jad on a copy of a class file and its family in a run
// folder of its own inside the plugin's directory, and its output read back as
// text.
#pragma once

#include <windows.h>

// The decimal tick count that names the current run's output and run folder;
// at most 11 characters and the terminator.
enum { DecompileStampChars = 16 };
extern WCHAR DecompileStamp[DecompileStampChars];

// How long a run waits for Jad, in milliseconds (60 seconds unless a test
// shortens it). A Jad still running then is ended, and the run gives no text.
extern DWORD DecompileWaitLimitMs;

// Jad's output for the class file at classFilePath (any length), as a text from
// malloc that the caller frees; null when there is none (a null path
// included). Blocks until Jad has ended or has been ended at the wait limit;
// the run folder is gone on return (unless a file in it could not be
// deleted). Runs in one process must not overlap (the stamp is module state);
// runs of other processes may.
char* DecompileClassFile(const WCHAR* classFilePath);
