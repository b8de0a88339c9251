// The names of the class-data caches the bridge keeps in the user's temporary
// folder. A cache is one Java runtime's (its java.exe and release file) for
// one version of the engines' jars; its name holds a hash of each, and the
// checksum of its contents, so that one move puts a cache and its checksum in
// place, and a damaged cache is told before Java maps it. Beside it, under the
// same stem: the files of the run that makes it (below).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// 16 hex digits hashing parts (file names with their sizes and times).
std::string HashIdentity(const std::vector<std::string>& parts);

// "dravik-java-<runtime>-<jars>": what every file of one runtime and jar
// version begins with.
std::string ArchiveStem(const std::string& runtimeHash, const std::string& jarsHash);

// "<stem>-<checksum, 16 hex digits>.jsa"
std::string ArchiveFileName(const std::string& stem, uint64_t checksum);

// The files beside a cache, under its stem: what a training run writes
// (moved into place once checked), its crash report, the run under way (its
// process id; creating the file claims the run) and how many runs were tried.
const char ArchiveTrainingOutput[] = ".tmp";
const char ArchiveTrainingCrash[] = ".tmp.crash";
const char ArchiveTrainingClaim[] = ".training";
const char ArchiveTriesRecord[] = ".tries";

// The parts of a file name: a cache's ("<stem>-<checksum>.jsa") or a file
// beside one ("<stem>.tmp", "<stem>.tries", ...: suffix ".tmp", ...).
struct ArchiveFileParts {
  std::string runtimeHash;
  std::string jarsHash;
  bool cache = false;
  uint64_t checksum = 0;  // a cache's
  std::string suffix;     // another file's, from its first dot
};

// False for a name of no runtime's cache or the files beside one.
bool ParseArchiveFileName(const std::string& name, ArchiveFileParts* parts);
