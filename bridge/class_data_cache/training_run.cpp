#include "bridge/class_data_cache/training_run.h"

#include <windows.h>

#include "bridge/class_data_cache/cache_names.h"
#include "bridge/engines/jvm_flags.h"
#include "bridge/windows/detached_process.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/process_identity.h"
#include "bridge/windows/scoped_handle.h"
#include "bridge/windows/wide_text.h"

namespace {

// Creating the file claims the run: a second bridge's creation fails.
bool Claim(const std::wstring& claim) {
  ScopedHandle created(CreateFileW(claim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  return created.valid();
}

}  // namespace

bool StartArchiveTraining(const SharedArchive& archive, Engine engine, const std::string& java,
                          int javaVersion, const BridgeContext& context) {
  if (archive.stem.empty() || !archive.file.empty() || !RuntimeHasArchives(javaVersion)) {
    return false;
  }
  const unsigned tries = ArchiveTriesOf(archive);
  const std::wstring claim = archive.stem + WideFromUtf8(ArchiveTrainingClaim);
  if (tries >= MostArchiveTries || !Claim(claim)) return false;
  // Until the run has started, the bridge's own process stands for it.
  WriteBytes(claim, ProcessIdentityText(IdentityOfProcess(GetCurrentProcessId())) + "\n");
  const std::string stem = Utf8FromWide(archive.stem);
  const std::string command = TrainingCommandLine(
      engine, java,
      TrainingJavaOptions(javaVersion, stem + ArchiveTrainingOutput, stem + ArchiveTrainingCrash),
      Utf8FromWide(context.home));
  std::wstring directory = UserTempFolder();
  const DWORD trainer =
      StartDetached(WideFromUtf8(command), directory, nullptr, BELOW_NORMAL_PRIORITY_CLASS);
  if (trainer == 0) {
    RemoveFile(claim);
    return false;
  }
  WriteBytes(claim, ProcessIdentityText(IdentityOfProcess(trainer)) + "\n");
  SetArchiveTries(archive, tries + 1);
  return true;
}
