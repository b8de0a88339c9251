#include "host/module_state.h"

HINSTANCE PluginInstance = nullptr;
HMODULE RichEditLibrary = nullptr;
DWORD LastActivityTick = 0;
char DefaultIniName[MAX_PATH] = "lsplugin.ini";
