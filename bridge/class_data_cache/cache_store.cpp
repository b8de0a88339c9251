#include "bridge/class_data_cache/cache_store.h"

#include <stdlib.h>
#include <windows.h>

#include <algorithm>

#include "bridge/class_data_cache/cache_checksum.h"
#include "bridge/class_data_cache/cache_names.h"
#include "bridge/class_data_cache/training_run.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/process_identity.h"
#include "bridge/windows/scoped_handle.h"
#include "bridge/windows/wide_text.h"

namespace {

// A file's name, size and time of last writing, "" parts when it is not there.
std::string FileIdentity(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(WideFromUtf8(name).c_str(), GetFileExInfoStandard, &data);
  return name + " " + std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) +
         " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// The runtime by its java.exe and its release file (which names its exact
// build).
std::string RuntimeHash(const std::string& java) {
  std::vector<std::string> identity = {FileIdentity(java)};
  std::wstring javaName = WideFromUtf8(java);
  size_t bin = javaName.find_last_of(L'\\');
  bin = bin == std::wstring::npos || bin == 0 ? std::wstring::npos
                                              : javaName.find_last_of(L'\\', bin - 1);
  if (bin != std::wstring::npos) {
    identity.push_back(FileIdentity(Utf8FromWide(javaName.substr(0, bin + 1) + L"release")));
  }
  return HashIdentity(identity);
}

// The checksum of the file, when it begins as Java's caches do (a dynamic
// archive, or a static one, which Java 25's ahead-of-time cache is); false for
// any other file, or one that cannot be read whole.
bool ChecksumArchiveFile(const std::wstring& file, uint64_t* checksum) {
  ScopedHandle opened(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!opened.valid()) return false;
  std::string buffer(1 << 20, '\0');
  auto* bytes = reinterpret_cast<unsigned char*>(&buffer[0]);
  ArchiveChecksum sum;
  for (bool first = true;; first = false) {
    DWORD n = 0;
    if (!ReadFile(opened.get(), bytes, static_cast<DWORD>(buffer.size()), &n, nullptr)) {
      return false;
    }
    if (n == 0) {
      *checksum = FinishChecksum(sum);
      return !first;
    }
    if (first && (n < 4 || (bytes[0] != 0xA8 && bytes[0] != 0xA2) || bytes[1] != 0xAB ||
                  bytes[2] != 0x0B || bytes[3] != 0xF0)) {
      return false;
    }
    AddToChecksum(&sum, bytes, n);
  }
}

void RemoveTrainingFiles(const std::wstring& stem) {
  for (const char* suffix : {ArchiveTrainingOutput, ArchiveTrainingCrash, ArchiveTrainingClaim}) {
    RemoveFile(stem + WideFromUtf8(suffix));
  }
  // What Java 25 keeps while a training run assembles its cache.
  RemoveFile(stem + WideFromUtf8(ArchiveTrainingOutput) + L".config");
}

// A training run's cache, once the run is over (its process gone, or past its
// time): checked and moved into place under its checksum; anything it left
// that is not a whole cache is removed.
void AdoptTrainedArchive(const std::wstring& stem) {
  const std::wstring claim = stem + WideFromUtf8(ArchiveTrainingClaim);
  std::string text;
  if (!ReadBytes(claim, 64, &text)) return;
  // The run's id and start time: its id alone may be another's by now.
  if (ProcessStillRuns(ParseProcessIdentity(text)) && FileAgeMs(claim) < ArchiveTrainingMs) return;
  const std::wstring made = stem + WideFromUtf8(ArchiveTrainingOutput);
  uint64_t checksum = 0;
  if (ChecksumArchiveFile(made, &checksum)) {
    const std::wstring cache = stem + WideFromUtf8(ArchiveFileName("", checksum));
    MoveFileExW(made.c_str(), cache.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  RemoveTrainingFiles(stem);
}

struct FoundCache {
  std::wstring name;
  uint64_t checksum;
  FILETIME written;
};

bool NewerFirst(const FoundCache& a, const FoundCache& b) {
  return CompareFileTime(&a.written, &b.written) > 0;
}

}  // namespace

SharedArchive FindSharedArchive(const std::string& java, const std::vector<std::string>& jars) {
  SharedArchive archive;
  const std::wstring temp = UserTempFolder();
  if (temp.empty()) return archive;
  const std::string runtime = RuntimeHash(java);
  std::vector<std::string> jarIdentity;
  for (const std::string& jar : jars) jarIdentity.push_back(FileIdentity(jar));
  const std::string jarsHash = HashIdentity(jarIdentity);
  archive.stem = temp + WideFromUtf8(ArchiveStem(runtime, jarsHash));
  AdoptTrainedArchive(archive.stem);

  std::vector<FoundCache> own, others;
  std::vector<std::wstring> othersStems;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((temp + L"dravik-*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      ArchiveFileParts parts;
      if (!ParseArchiveFileName(Utf8FromWide(name), &parts)) {
        // Earlier versions named theirs by their use, one for each.
        if ((name.rfind(L"dravik-service-", 0) == 0 || name.rfind(L"dravik-oneshot-", 0) == 0) &&
            name.find(L".jsa") != std::wstring::npos) {
          RemoveFile(temp + name);
        }
      } else if (parts.runtimeHash == runtime && parts.jarsHash != jarsHash) {
        // This runtime's files for another version of the jars.
        RemoveFile(temp + name);
      } else if (parts.cache) {
        (parts.runtimeHash == runtime ? own : others)
            .push_back({name, parts.checksum, found.ftLastWriteTime});
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }

  std::sort(own.begin(), own.end(), NewerFirst);
  for (const FoundCache& cache : own) {
    const std::wstring file = temp + cache.name;
    uint64_t checksum = 0;
    if (archive.file.empty() && ChecksumArchiveFile(file, &checksum) &&
        checksum == cache.checksum) {
      archive.file = file;
    } else {
      RemoveFile(file);
    }
  }
  std::sort(others.begin(), others.end(), NewerFirst);
  for (size_t i = RuntimesWithCaches - 1; i < others.size(); ++i) {
    const std::wstring& name = others[i].name;
    const std::wstring stem = temp + name.substr(0, name.size() - ArchiveFileName("", 0).size());
    RemoveFile(temp + name);
    RemoveTrainingFiles(stem);
    RemoveFile(stem + WideFromUtf8(ArchiveTriesRecord));
  }
  return archive;
}

void DropSharedArchive(SharedArchive* archive) {
  if (archive->file.empty()) return;
  RemoveFile(archive->file);
  archive->file.clear();
  SetArchiveTries(*archive, ArchiveTriesOf(*archive) + 1);
}

unsigned ArchiveTriesOf(const SharedArchive& archive) {
  std::string text;
  if (archive.stem.empty() ||
      !ReadBytes(archive.stem + WideFromUtf8(ArchiveTriesRecord), 64, &text)) {
    return 0;
  }
  unsigned long tries = strtoul(text.c_str(), nullptr, 10);
  return tries < 1000 ? static_cast<unsigned>(tries) : 1000;
}

void SetArchiveTries(const SharedArchive& archive, unsigned tries) {
  if (!archive.stem.empty()) {
    WriteBytes(archive.stem + WideFromUtf8(ArchiveTriesRecord), std::to_string(tries) + "\n");
  }
}
