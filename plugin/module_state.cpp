#include "plugin/module_state.h"

#include "presentation/text_styles.h"

HINSTANCE PluginInstance = nullptr;
HMODULE RichEditLibrary = nullptr;
DWORD LastActivityTick = 0;
char DefaultIniName[MAX_PATH] = "lsplugin.ini";

void HandleEntryNotification(HINSTANCE instance, DWORD reason) {
  if (reason == DLL_PROCESS_DETACH) {
    if (RichEditLibrary != nullptr) {
      FreeLibrary(RichEditLibrary);
    }
    RichEditLibrary = nullptr;
  } else if (reason == DLL_PROCESS_ATTACH) {
    PluginInstance = instance;
  }
  InitTextStyles();
}

WCHAR* AnsiToWide(const char* name, WCHAR* buffer) {
  if (name == nullptr) {
    return nullptr;
  }
  // A name that does not fit whole becomes an empty one: cut short, it could
  // name another file, and on overflow the call may leave the buffer filled in
  // part or not at all.
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, buffer, AnsiToWideChars) == 0) {
    buffer[0] = L'\0';
  }
  buffer[AnsiToWideChars - 1] = L'\0';
  return buffer;
}
