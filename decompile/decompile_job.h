// A decompile run on a thread of its own, so that the host's thread waits for
// it only a little: started for a class file, waited for a while, its text
// taken, or given up (the run is then cancelled: Jad ended, its run folder
// removed). The thread reads the class file first, once, and makes its
// outline, so that the host's thread never touches the file: what the window
// shows of the class besides the source comes from these bytes. The thread
// never touches a window: when the run ends it posts a message to the window
// that asked, which takes the text if it still wants it. The thread keeps the
// plugin loaded until it has ended, so that a plugin unloaded with a run
// going does not pull the code from under it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "decompile/class_text.h"
#include "decompile/decompile_run.h"

struct DecompileJob;

// Starts a run for the class file (its name copied), for Kotlin when kotlin
// (DecompileRun::kotlin); when it ends, message is posted to notify with the
// job as wParam (the window checks that it is still its job). Null when no
// thread could be started.
DecompileJob* StartDecompileJob(const WCHAR* classFilePath, HWND notify, UINT message,
                                bool kotlin = false);

// Waits up to milliseconds for the run to have read the class file and made
// its outline; true when it has. The run then decompiles.
bool WaitForDecompileJobClass(DecompileJob* job, DWORD milliseconds);

// Once it has: the class file's bytes (never changed after) and its outline
// (empty when the bytes are no class file).
std::shared_ptr<const ClassBytes> DecompileJobClass(DecompileJob* job, std::wstring* outline);

// Waits up to milliseconds for the run to end; true when it has.
bool WaitForDecompileJob(DecompileJob* job, DWORD milliseconds);

// What a run gave.
struct DecompileResult {
  char* text = nullptr;  // from malloc, the taker frees it; null for none
  DWORD milliseconds = 0;
  DecompileEnd end = DecompileEnd::NoText;
  DWORD exitCode = 0;    // Jad's (the bridge's says whether the text is source)
  DWORD startError = 0;  // the system's error when Jad did not start
  // Where a run folder was asked for, in order (the last held it when one was made).
  std::vector<std::wstring> places;
};

// Once the run has ended: what it gave (the text only to the first taker).
// False while it runs.
bool TakeDecompileResult(DecompileJob* job, DecompileResult* result);

// The caller's end of the job: a run still going is cancelled, and its thread
// frees what is left once it is done.
void ReleaseDecompileJob(DecompileJob* job);
