// The Java runtime's own options for the engines: a short life for the
// one-shot run, a long one for the service, and class-data sharing where the
// runtime has it (an archive of the classes a run loaded, mapped by the next
// start instead of loading them again; the runtime checks that an archive is
// its own and fits the jars, and passes over one that does not).
#pragma once

#include <string>
#include <vector>

// The archive of one runtime, jar set and use.
struct SharedArchive {
  std::string file;  // "" when there is no place to keep one
  bool exists = false;
  std::string dumpTo;  // where a one-shot run that makes it writes it first
};

// The archive's file name for a use ("oneshot-vineflower", "service"): the
// use and a hash of what makes an archive valid (the runtime, the jars and
// their sizes and times), so that a runtime or jar that changes gets a new one.
std::string SharedArchiveName(const std::string& use, const std::vector<std::string>& identity);

// Only the quick first compiler tier, in one thread, and the serial
// collector: a run for one class is over before the optimising compiler would
// pay. With Java 13 and newer the archive too: mapped when it exists, else
// made at the run's end (from Java 19 the runtime does both, and makes it
// again when it is stale; from Java 25 an ahead-of-time cache, made at the
// end of the run that found none); its contents are not checked at every start, so a
// run that fails with it drops it. Unknown -XX options are passed over by the
// runtime.
std::vector<std::string> OneShotJavaOptions(int javaVersion, const SharedArchive& archive);

// The service's options: its heap limit and memory bounds, and the archive,
// made when the service ends.
std::vector<std::string> ServiceJavaOptions(int javaVersion, const SharedArchive& archive,
                                            const std::string& heap);
