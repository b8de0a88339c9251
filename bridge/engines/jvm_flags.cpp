#include "bridge/engines/jvm_flags.h"

namespace {

// -XX options a runtime does not know (another vendor's) are passed over
// rather than refused.
const char IgnoreUnknown[] = "-XX:+IgnoreUnrecognizedVMOptions";

// The cache to map. Java checks a cache's header, its own build and the
// jars' sizes and times, and passes over one that does not fit; not its
// contents (its own check crashed Temurin 25 under Wine): the bridge checks
// those against the checksum in the cache's name before it names it here.
void AddArchive(int javaVersion, const std::string& archive, std::vector<std::string>* options) {
  if (!RuntimeHasArchives(javaVersion) || archive.empty()) return;
  options->push_back((javaVersion >= 25 ? "-XX:AOTCache=" : "-XX:SharedArchiveFile=") + archive);
}

// A crash report into the bridge's file, not the working folder, and no
// memory dump beside it: nobody would read either, and the bridge reads the
// report to tell a run that crashed.
void AddCrashReport(const std::string& file, std::vector<std::string>* options) {
  if (file.empty()) return;
  options->push_back("-XX:ErrorFile=" + file);
  options->push_back("-XX:-CreateCoredumpOnCrash");
}

}  // namespace

bool RuntimeHasArchives(int javaVersion) { return javaVersion >= 13; }

std::vector<std::string> OneShotJavaOptions(int javaVersion, const std::string& archive,
                                            const std::string& crashReport) {
  // One compiler thread leaves the decompile a processor of its own on two,
  // and it starts on the hot methods sooner; no performance-counter file,
  // which nobody reads in a run this short.
  std::vector<std::string> options = {IgnoreUnknown,           "-XX:TieredStopAtLevel=1",
                                      "-XX:CICompilerCount=1", "-XX:CompileThresholdScaling=0.3",
                                      "-XX:+UseSerialGC",      "-XX:-UsePerfData"};
  AddArchive(javaVersion, archive, &options);
  AddCrashReport(crashReport, &options);
  return options;
}

std::vector<std::string> ServiceJavaOptions(int javaVersion, const std::string& archive,
                                            const std::string& heap,
                                            const std::string& crashReport) {
  // A small heap that grows for a large class and is given back after it
  // (the service collects when it falls quiet): it waits in the user's
  // session for minutes after each view (bridge/service/README.md, Memory).
  // No performance-counter file: nobody reads it, and Java on Windows leaves
  // its folder in the temporary folder.
  std::vector<std::string> options = {IgnoreUnknown,
                                      "-Xms16m",
                                      "-Xmx" + heap,
                                      "-XX:+UseSerialGC",
                                      "-XX:NewRatio=1",
                                      "-XX:MinHeapFreeRatio=20",
                                      "-XX:MaxHeapFreeRatio=40",
                                      "-XX:CICompilerCount=2",
                                      "-XX:-UsePerfData"};
  AddArchive(javaVersion, archive, &options);
  AddCrashReport(crashReport, &options);
  return options;
}

std::vector<std::string> TrainingJavaOptions(int javaVersion, const std::string& output,
                                             const std::string& crashReport) {
  // The one-shot run's options, so that the cache fits the run a user waits
  // for; the service maps it too.
  std::vector<std::string> options = OneShotJavaOptions(javaVersion, "", crashReport);
  if (RuntimeHasArchives(javaVersion) && !output.empty()) {
    options.push_back((javaVersion >= 25 ? "-XX:AOTCacheOutput=" : "-XX:ArchiveClassesAtExit=") +
                      output);
  }
  return options;
}
