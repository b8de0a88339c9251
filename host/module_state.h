// State that outlives any one viewer window: one copy per loaded module,
// shared by every Lister window that uses the plugin.
#pragma once

#include <windows.h>

extern HINSTANCE PluginInstance;
extern HMODULE RichEditLibrary;
extern DWORD LastActivityTick;
extern char DefaultIniName[MAX_PATH];
