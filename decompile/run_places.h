// Where a run folder may go: the plugin's own folder first (a portable install
// keeps everything beside it), then, when no folder can be made there (an
// install under Program Files, a locked-down machine), a folder of the user's
// for this plugin folder: beside the settings file the host names, else in the
// user's temporary folder. Jad is started from the plugin's folder wherever
// the run folder is, so its settings are read there.
#pragma once

#include <windows.h>

#include "decompile/run_folder.h"

enum { RunPlaceCount = 3 };

// The place of that index (0 to RunPlaceCount - 1) for the plugin directory:
// the directory itself; <folder of the host's settings file>\dravik-runs-<hash>;
// <user's temporary folder>\dravik-runs-<hash>, the hash naming the plugin
// directory (any letter case). False when there is no such place (the host
// named no folder, no temporary folder) or its name does not fit.
bool ComposeRunPlace(int index, const WCHAR* pluginDirectory, WCHAR* place);

// A user's place is made when a run needs it and goes when its last run
// does: Make creates it (true when it is there), Leave removes it when empty.
bool MakeRunPlace(const WCHAR* place);
void LeaveRunPlace(const WCHAR* place);
