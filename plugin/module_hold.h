// The plugin's windows keep the plugin loaded while they live. The host may
// subclass a window of ours (the Lister does, for its keys), and its procedure
// then calls ours; or it may unload the plugin with windows still open. The
// code of our window procedure must not go while any of that can reach it.
// A window's reference is let go only in a call of the host, which holds the
// plugin itself while it calls: never inside the window's own procedure, nor
// on a run's thread while the host's thread may be in that procedure.
#pragma once

// Takes a reference to the plugin's module for a new window; false when none
// could be had.
bool HoldModuleForWindow();

// A window that held the module has gone (its last message): its reference
// waits for the next call of the host.
void WindowHoldEnded();

// Lets the references of the windows that have gone go. Only in an export:
// its caller holds the module, so this is never the last reference.
void ReleaseEndedWindowHolds();
