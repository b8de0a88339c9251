// The script's answer to the next list the plugin opens in a dialog (a
// "#32770" window with a list box): the item to choose by its text. The
// watchdog thread gives the answer; the script sets it beforehand.
#pragma once

#include <windows.h>

#include <string>

void SetListPick(const std::wstring& item);  // any thread
// Takes the answer waiting, if any (it answers one list).
bool TakeListPick(std::wstring* item);  // any thread

// Answers a list dialog: the item chosen and OK pressed, or, with no answer
// or no such item, Cancel; logged. False when the dialog holds no list box.
bool AnswerListDialog(HWND dialog);
