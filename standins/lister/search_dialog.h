// The host's own search dialog, shown when the plugin has none: the text,
// match case, whole words and backwards.
#pragma once

#include <windows.h>

#include <string>

// Shows the dialog modally, started with text and flags (lcs_ values);
// returns false when the user cancels, else the text and the flags chosen.
bool ShowSearchDialog(HWND owner, std::wstring* text, int* flags);
