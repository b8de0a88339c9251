// The Java runtime's own options for the engines: a short life for the
// one-shot run, a long one for the service, and class-data sharing where the
// runtime has it: a cache of the classes a run loaded (class_data_cache/cache_names.h),
// mapped by the next start instead of loading them again. Neither run makes
// one: a training run does, after a view, off the user's way. Each run's
// crash report goes to a file of the bridge's, which reads it and removes it.
#pragma once

#include <string>
#include <vector>

// Whether the runtime can map and make a cache of the engines' classes: a
// dynamic archive from Java 13, an ahead-of-time cache from Java 25.
bool RuntimeHasArchives(int javaVersion);

// Only the quick first compiler tier, in one thread, and the serial
// collector: a run for one class is over before the optimising compiler would
// pay. archive: the cache to map, "" for none. Unknown -XX options are passed
// over by the runtime.
std::vector<std::string> OneShotJavaOptions(int javaVersion, const std::string& archive,
                                            const std::string& crashReport);

// The service's options: its heap limit and memory bounds, and the cache.
std::vector<std::string> ServiceJavaOptions(int javaVersion, const std::string& archive,
                                            const std::string& heap,
                                            const std::string& crashReport);

// A training run's: the one-shot run's, with the cache made at its end at
// output (a dynamic archive, or from Java 25 an ahead-of-time cache, which
// holds the runtime's own classes too and so needs no archive of the
// runtime's: a runtime made with jlink often has none).
std::vector<std::string> TrainingJavaOptions(int javaVersion, const std::string& output,
                                             const std::string& crashReport);
