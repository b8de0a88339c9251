// Starting the resident decompile service: detached and without a window, so
// it outlives the bridge that starts it; at most one start at a time.
#pragma once

#include <string>

#include "bridge/bridge_context.h"

// The port file in the user's temporary folder for this bridge; "" when
// there is no temporary folder.
std::wstring ServicePortFile(const BridgeContext& context);

// Starts the service on java unless another bridge started one moments ago
// that has not written its port file yet. Returns whether it started one.
bool StartDecompileService(const std::string& java, int javaVersion, const BridgeContext& context,
                           const std::wstring& portFile);
