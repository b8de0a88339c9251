// Starting the resident decompile service: detached and without a window, so
// it outlives the bridge that starts it, with its secret on its standard
// input; at most one start at a time, and fewer after starts that failed.
#pragma once

#include <functional>
#include <string>

#include "bridge/class_data_cache/cache_store.h"
#include "bridge/settings/run_context.h"

// The port file in the user's temporary folder for this bridge; "" when
// there is no temporary folder.
std::wstring ServicePortFile(const BridgeContext& context);

// The key of the settings a service for java gets from this context
// (ServiceSettingsKey): what a request asks for, and a service started here
// serves.
std::string ServiceSettingsKeyFor(const std::string& java, int javaVersion,
                                  const BridgeContext& context);

// Starts the service on java unless another bridge's start is under way or
// starts of the same command failed lately (start_backoff.h), mapping the
// archive's cache; a cache that the last start failed with is dropped
// first. Its standard input gets the secret and then the request encodeFirst
// makes with it: the class just shown, for the service to decompile first
// (left out when it is over 1 MiB). Returns whether it started one.
bool StartDecompileService(const std::string& java, int javaVersion, const BridgeContext& context,
                           const std::wstring& portFile, SharedArchive* archive,
                           const std::function<std::string(const std::string&)>& encodeFirst);
