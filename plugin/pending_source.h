// A class's source still being decompiled for a list window. The window shows
// the banner and a line that says what is coming, and takes the source when
// the run posts it: highlighted, the header lines on top with the real times,
// without a flicker and without taking the focus. A close or another file in
// the window gives the run up (it is cancelled, and its result freed).
#pragma once

#include <windows.h>

#include "decompile/decompile_job.h"

// The message a run posts to its window when it ends.
UINT SourceReadyMessage();

// Shows what is coming for fileName (a file name, no folder) and hands the
// job to the window, which from now on owns it. False (the job released) when
// the window could not take it.
bool AwaitSource(HWND control, DecompileJob* job, const WCHAR* fileName);

// Gives up the source the window waits for, if any.
void DropPendingSource(HWND control);
