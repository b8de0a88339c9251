// The file each list window shows, as the host named it, for the search that
// reads a stack-trace position: module state, a few windows at a time.
#pragma once

#include <windows.h>

// list now shows the file at path; its name is kept (cut to MAX_PATH - 1
// characters).
void NoteShownFile(HWND list, const WCHAR* path);
void ForgetShownFile(HWND list);

// The name of the file list shows, or null when none is noted for it.
const WCHAR* ShownFile(HWND list);
