// The decompiler run: Jad on a copy of a class file and its family in a run
// folder of its own inside the plugin's directory, and its output read back as
// text.
#pragma once

#include <windows.h>

// The decimal tick count that names a run's output and run folder; at most 11
// characters and the terminator.
enum { DecompileStampChars = 16 };

// How long a run waits for Jad, in milliseconds (60 seconds unless a test
// shortens it). A Jad still running then is asked to stop, as a close asks it
// (the bridge ends its Java and removes its files), and ended when it has not
// stopped within DecompileStopGraceMs (3 seconds unless a test changes it);
// the run gives no text.
extern DWORD DecompileWaitLimitMs;
extern DWORD DecompileStopGraceMs;

// How a run ended: with Jad's text, or why without (NotStarted: Jad was not
// run at all: its input could not be put in place, or it could not be
// started).
enum class DecompileEnd { Text, NoText, NotStarted, TimedOut, Cancelled };

// What a caller may give a run and learns from it.
struct DecompileRun {
  // Set from another thread, it ends the run: Jad is asked to stop (the
  // bridge then removes its own files), and ended when it does not.
  HANDLE cancel = nullptr;
  WCHAR stamp[DecompileStampChars] = {};    // out: names its run folder and output
  DecompileEnd end = DecompileEnd::NoText;  // out
  DWORD exitCode = 0;                       // out: Jad's, when it ended by itself
};

// Jad's output for the class file at classFilePath (any length), as a text from
// malloc that the caller frees; null when there is none (a null path
// included). Blocks until Jad has ended or has been ended (the wait limit, or
// run->cancel); the run folder is gone on return (unless a file in it could
// not be deleted). Runs may overlap, in one process or several.
char* DecompileClassFile(const WCHAR* classFilePath, DecompileRun* run = nullptr);
