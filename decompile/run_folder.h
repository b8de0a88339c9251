// The run folder: a folder of one run's own, in which the decompiler finds its
// input with the input's family and writes its output. Creating it and its
// marker is the claim: two runs at once (two Listers, two file managers) never
// read or delete each other's files. A live run holds its marker open, which
// keeps every other run from taking it, so a folder is swept away only when
// its run is over, whatever the clocks of the machine or the share say.
#pragma once

#include <windows.h>

// Room of a run folder's name, terminator included. A process's current
// directory takes at most MAX_PATH - 2 characters (the system adds a
// backslash), and the decompiler runs in this folder.
enum { RunFolderChars = MAX_PATH - 1 };

// The marker's name inside a run folder.
extern const WCHAR RunFolderMarker[];

struct RunFolder {
  WCHAR path[RunFolderChars];
  HANDLE marker;  // held open (for no one else, deleted on close) while the run lives
};

// Creates <parent>\dravik-run-<stamp>, or that name with "-2", "-3", ...
// behind it while the name is taken (by a live run, or left by one), with its
// marker. False, with nothing created, when the name does not fit
// RunFolderChars or no folder could be made.
bool ClaimRunFolder(const WCHAR* parent, const WCHAR* stamp, RunFolder* folder);

// Removes the run folders in parent that no live run holds (left by a host
// that ended meanwhile, or kept by a file that could not be deleted then):
// each whose marker can be had. One try for each, and at most one sweep of a
// place every ten minutes per loaded plugin, so that a folder that cannot be
// removed costs the runs nothing.
void RemoveLeftRunFolders(const WCHAR* parent);

// Lets the marker go and deletes every file in the run folder, read-only ones
// included, and then the folder; tries again for up to a second while
// anything is still held. A file that cannot be deleted leaves the folder in
// place, for a later sweep.
void RemoveRunFolder(RunFolder* folder);
