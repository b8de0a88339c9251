// Where the engines' class-data archives are kept: in the user's temporary
// folder, one for each use, named by the runtime and jars it was made from.
#pragma once

#include <string>
#include <vector>

#include "bridge/java_options.h"

// The archive for use ("oneshot-vineflower", "service") of the runtime of
// java with jars; a run that is to make it writes it to dumpTo first.
SharedArchive FindSharedArchive(const std::string& use, const std::string& java,
                                const std::vector<std::string>& jars);

// After a one-shot run with the archive: one it made moved into place when the
// run gave source (and the archives this use had for other runtimes or jars
// removed), else what it wrote removed; one it mapped removed when the run
// failed, in case the archive was the cause (the next run makes it again).
void KeepSharedArchive(const std::string& use, const SharedArchive& archive, bool runGaveSource);

// Removes the archives this use has for other runtimes or jars (one that a
// running Java maps stays): each new runtime or plugin version makes its own.
void RemoveOtherArchives(const std::string& use, const SharedArchive& archive);
