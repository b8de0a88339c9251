// This process's kernel handles and threads, as the host logs them (the
// script's `counts`) so that a test sees what a plugin left behind. Wine
// answers 0 to GetProcessHandleCount; the handles are then counted by probing.
#pragma once

// GetProcessHandleCount's figure, or the probe's where that is 0.
long ProcessHandleCount();

// Every valid handle answers GetHandleInformation; handle values are multiples
// of 4 handed out from the bottom, so the probe stops after a long run of
// invalid values.
long ProbedHandleCount();

// The threads of this process (a Toolhelp snapshot).
long ProcessThreadCount();
