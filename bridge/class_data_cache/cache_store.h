// The runtime's class-data cache for the engines' jars, kept in the user's
// temporary folder under the names of cache_names.h: found and checked
// before a run maps it, dropped when a run fails with it.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

struct SharedArchive {
  std::wstring stem;  // <temp>\dravik-java-<runtime>-<jars>; "" without a temporary folder
  std::wstring file;  // the cache, its contents checked; "" when there is none
};

// How many runtimes keep their caches: the one in use and the newest of the
// others (a user whose settings name one runtime and whose PATH has another
// keeps both warm).
const size_t RuntimesWithCaches = 4;

// The cache of java's runtime for jars. A training run's cache, once the run
// is over, is checked first and moved into place (or removed); a cache whose
// contents do not match its checksum is removed. Caches of this runtime for
// other versions of the jars go, and other runtimes' but the newest.
SharedArchive FindSharedArchive(const std::string& java, const std::vector<std::string>& jars);

// A run failed with the cache (a Java runtime that crashed or would not start
// with it): it is removed, and counts as one of its runtime's tries, so that
// a runtime that fails with every cache goes on without one.
void DropSharedArchive(SharedArchive* archive);

// How many training runs and dropped caches the runtime and jars had.
unsigned ArchiveTriesOf(const SharedArchive& archive);
void SetArchiveTries(const SharedArchive& archive, unsigned tries);
