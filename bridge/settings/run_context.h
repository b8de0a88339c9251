// Where the bridge is and what its settings file says: read once a run.
#pragma once

#include <windows.h>

#include <string>

#include "bridge/settings/jad_ini.h"

struct BridgeContext {
  std::wstring home;             // the bridge's own folder, without a trailing backslash
  std::wstring settingsFile;     // jad.ini in that folder
  BridgeSettings settings;       // its settings, the defaults where it says nothing
  HANDLE stopRequest = nullptr;  // set when the plugin wants the run to stop; null for none
};

BridgeContext LoadBridgeContext();
