// State that outlives any one viewer window: one copy per loaded module,
// shared by every Lister window that uses the plugin.
#pragma once

#include <windows.h>

extern HINSTANCE PluginInstance;
extern HMODULE RichEditLibrary;
extern DWORD LastActivityTick;
extern char DefaultIniName[MAX_PATH];

// The module's entry notification: DllMain forwards here.
void HandleEntryNotification(HINSTANCE instance, DWORD reason);

// The 8-bit exports turn their file name into a wide one here. The buffer must
// hold AnsiToWideChars characters; the result is the buffer (an empty name
// when the name does not fit whole), or null for null.
enum { AnsiToWideChars = 1024 };
WCHAR* AnsiToWide(const char* name, WCHAR* buffer);
