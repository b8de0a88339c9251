// The keys a class window takes itself, each with Ctrl held and Alt not: the
// host passes them to the window, as every key it has no use for, and the
// control alone would do nothing with them. Each has the name the user reads
// (in the context menu and the readme) and the command it gives.
#pragma once

#include <windows.h>

enum class ViewKeyCommand {
  SwitchBytecode,  // the bytecode view, or back to the source
  GoToMember,      // the class's members listed, the one chosen shown
  SwitchKotlin,    // the Kotlin view (a class compiled from Kotlin), or back to Java
};

struct ViewKey {
  const WCHAR* name;  // "Ctrl+B"
  WPARAM virtualKey;  // 'B'
  ViewKeyCommand command;
};

extern const ViewKey ViewKeys[];
extern const size_t ViewKeyCount;

// The key a WM_KEYDOWN of virtualKey is, with the keyboard's state now; null
// when it is none of them.
const ViewKey* PressedViewKey(WPARAM virtualKey);

// The key whose control character (Ctrl+B makes 2) a WM_CHAR carries, with
// Ctrl held; null when none.
const ViewKey* ViewKeyOfCharacter(WPARAM character);

// The name of the key that gives command.
const WCHAR* ViewKeyName(ViewKeyCommand command);
