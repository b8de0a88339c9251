// The search for java.exe on this system: the places of java_search.h read
// from the settings, the environment and the registry.
#pragma once

#include "bridge/bridge_context.h"
#include "bridge/java_search.h"

JavaSearch SearchJava(const BridgeContext& context);
