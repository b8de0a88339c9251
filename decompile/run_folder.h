// The run folder: a folder of one run's own inside the plugin directory, in
// which the decompiler finds its input with the input's family and writes its
// output. Creating it is the claim: two runs at once (two Listers, two file
// managers) never read or delete each other's files.
#pragma once

#include <windows.h>

// Room of a run folder's name, terminator included. A process's current
// directory takes at most MAX_PATH - 2 characters (the system adds a
// backslash), and the decompiler runs in this folder.
enum { RunFolderChars = MAX_PATH - 1 };

// Creates <pluginDirectory>\dravik-run-<stamp>, or that name with "-2", "-3",
// ... behind it while the name is taken (by a run of another process, or left
// by one), and writes the name into folder. False, with nothing created, when
// the name does not fit RunFolderChars or no folder could be created.
bool ClaimRunFolder(const WCHAR* pluginDirectory, const WCHAR* stamp, WCHAR* folder);

// Removes the run folders in the plugin directory that runs of a host which
// ended meanwhile left (the folder of a live run is never older than its
// decompiler's time limit): those made over ten minutes ago.
void RemoveLeftRunFolders(const WCHAR* pluginDirectory);

// Deletes every file in a claimed run folder, read-only ones included, and then
// the folder; tries again for up to a second while anything is still held. A
// file that cannot be deleted leaves the folder in place.
void RemoveRunFolder(const WCHAR* folder);
