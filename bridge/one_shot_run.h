// The one-shot run: the decompiler of the settings' command template started
// for one class in a temporary folder of its own, its output read back.
#pragma once

#include <string>

#include "bridge/bridge_context.h"
#include "bridge/decompile_source.h"

// java: the java.exe for {java} ("" when the template does not use it).
DecompileOutcome RunDecompilerOnce(const std::string& java, const std::string& classBytes,
                                   const DecompileOptions& options, const BridgeContext& context);
