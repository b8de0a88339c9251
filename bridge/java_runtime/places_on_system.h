// The search for java.exe on this system: the places of search_order.h read
// from the settings, the environment and the registry.
#pragma once

#include "bridge/java_runtime/search_order.h"
#include "bridge/settings/run_context.h"

JavaSearch SearchJava(const BridgeContext& context);
