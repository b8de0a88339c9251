// The run that makes a runtime's class-data cache: started after a view that
// found none, detached and at low priority, so that no view waits while Java
// writes a cache (5 s and more for Java 25's). It decompiles some of the
// engine's own classes and writes the cache at its end; a later bridge
// checks it and moves it into place (cache_store.h). A claim file beside
// the cache holds the run's process id: one run at a time for a runtime and
// jar version, and at most MostArchiveTries runs, or caches dropped after a
// failed run, for them.
#pragma once

#include <stdint.h>

#include <string>

#include "bridge/class_data_cache/cache_store.h"
#include "bridge/engines/engine.h"
#include "bridge/settings/run_context.h"

const unsigned MostArchiveTries = 3;
// A training run still going after this has failed (it takes seconds; its
// process id may be another program's by then).
const uint64_t ArchiveTrainingMs = 10 * 60 * 1000;

// Starts a training run for archive's runtime (java, javaVersion) and jars,
// unless the runtime makes no caches, one is under way, or the tries are
// spent. Returns whether it started one.
bool StartArchiveTraining(const SharedArchive& archive, Engine engine, const std::string& java,
                          int javaVersion, const BridgeContext& context);
