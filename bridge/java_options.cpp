#include "bridge/java_options.h"

#include <stdint.h>

namespace {

// -XX options a runtime does not know (another vendor's) are passed over
// rather than refused.
const char IgnoreUnknown[] = "-XX:+IgnoreUnrecognizedVMOptions";

// The archive's options; dumpTo is where a missing archive is made. The
// runtime checks an archive's header, its own version and the jars' sizes and
// times; with verify, the checksums of its contents too (about 50 ms a start).
void AddArchive(int javaVersion, const SharedArchive& archive, const std::string& dumpTo,
                bool verify, std::vector<std::string>* options) {
  if (javaVersion < 13 || archive.file.empty()) return;
  bool mapped = javaVersion >= 19 || archive.exists;
  if (javaVersion >= 25) {
    // The ahead-of-time cache holds the runtime's own classes too: unlike the
    // archives above, it needs no archive of the runtime's (a runtime made
    // with jlink often has none), and it starts faster.
    mapped = archive.exists;
    if (archive.exists) {
      options->push_back("-XX:AOTCache=" + archive.file);
    } else if (!dumpTo.empty()) {
      options->push_back("-XX:AOTCacheOutput=" + dumpTo);
    }
  } else if (javaVersion >= 19) {
    options->push_back("-XX:+AutoCreateSharedArchive");
    options->push_back("-XX:SharedArchiveFile=" + archive.file);
  } else if (archive.exists) {
    options->push_back("-XX:SharedArchiveFile=" + archive.file);
  } else if (!dumpTo.empty()) {
    options->push_back("-XX:ArchiveClassesAtExit=" + dumpTo);
  }
  if (mapped && verify) options->push_back("-XX:+VerifySharedSpaces");
}

}  // namespace

std::string SharedArchiveName(const std::string& use, const std::vector<std::string>& identity) {
  // FNV-1a, 64 bits, with a separator that no part holds.
  uint64_t hash = 14695981039346656037ull;
  for (const std::string& part : identity) {
    for (char c : part + '\n') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  const char digits[] = "0123456789abcdef";
  std::string name = "dravik-" + use + "-";
  for (int shift = 60; shift >= 0; shift -= 4) name += digits[(hash >> shift) & 0xF];
  return name + ".jsa";
}

std::vector<std::string> OneShotJavaOptions(int javaVersion, const SharedArchive& archive) {
  // One compiler thread leaves the decompile a processor of its own on two,
  // and it starts on the hot methods sooner; no performance-counter file,
  // which nobody reads in a run this short.
  std::vector<std::string> options = {IgnoreUnknown,           "-XX:TieredStopAtLevel=1",
                                      "-XX:CICompilerCount=1", "-XX:CompileThresholdScaling=0.3",
                                      "-XX:+UseSerialGC",      "-XX:-UsePerfData"};
  // Not verified: a run that fails with it drops the archive (KeepSharedArchive).
  AddArchive(javaVersion, archive, archive.dumpTo, false, &options);
  return options;
}

std::vector<std::string> ServiceJavaOptions(int javaVersion, const SharedArchive& archive,
                                            const std::string& heap) {
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
  // One service at a time runs for a bridge's folder, which the archive's
  // name holds: it writes its archive itself when it ends.
  AddArchive(javaVersion, archive, archive.file, true, &options);
  return options;
}
