#include "plugin/view_keys.h"

const ViewKey ViewKeys[] = {
    {L"Ctrl+B", 'B', ViewKeyCommand::SwitchBytecode},
    {L"Ctrl+G", 'G', ViewKeyCommand::GoToMember},
    {L"Ctrl+K", 'K', ViewKeyCommand::SwitchKotlin},
};
const size_t ViewKeyCount = sizeof ViewKeys / sizeof ViewKeys[0];

const ViewKey* PressedViewKey(WPARAM virtualKey) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return nullptr;
  for (const ViewKey& key : ViewKeys) {
    if (key.virtualKey == virtualKey) return &key;
  }
  return nullptr;
}

const ViewKey* ViewKeyOfCharacter(WPARAM character) {
  if (GetKeyState(VK_CONTROL) >= 0) return nullptr;
  for (const ViewKey& key : ViewKeys) {
    if (key.virtualKey - 'A' + 1 == character) return &key;
  }
  return nullptr;
}

const WCHAR* ViewKeyName(ViewKeyCommand command) {
  for (const ViewKey& key : ViewKeys) {
    if (key.command == command) return key.name;
  }
  return L"";
}
