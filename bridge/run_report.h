// What jad.exe says when it is started without a class, at a command prompt:
// where its settings are and what they hold, the Java runtime it finds (or
// where it looked for one) and the decompiler that runs on it, and where the
// decompile service's files are. A user learns from it which engine and Java
// a view came from, without opening a class.
#pragma once

#include <string>
#include <vector>

#include "bridge/settings/run_context.h"

std::vector<std::string> RunReport(const BridgeContext& context);
