// The module's entry notification: DllMain forwards here.
#pragma once

#include <windows.h>

// processEnding: a process detach because the process is ending (DllMain's
// reserved argument is not null), not because the plugin is unloaded.
void HandleEntryNotification(HINSTANCE instance, DWORD reason, bool processEnding = false);
