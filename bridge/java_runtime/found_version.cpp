#include "bridge/java_runtime/found_version.h"

#include "bridge/java_runtime/version_text.h"
#include "bridge/windows/argument_quoting.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/waited_process.h"
#include "bridge/windows/wide_text.h"

namespace {

// A launcher elsewhere (Oracle's javapath, a shim) has no release file
// beside it; "java -version" is asked at most this long.
const DWORD VersionRunLimitMs = 10000;

// <runtime>\release for <runtime>\bin\java.exe; "" for a java.exe not in a bin folder.
std::wstring ReleaseFile(const std::wstring& java) {
  size_t name = java.find_last_of(L"\\/");
  if (name == std::wstring::npos || name < 4) return L"";
  size_t bin = java.find_last_of(L"\\/", name - 1);
  if (bin == std::wstring::npos ||
      _wcsicmp(java.substr(bin + 1, name - bin - 1).c_str(), L"bin") != 0) {
    return L"";
  }
  return java.substr(0, bin + 1) + L"release";
}

}  // namespace

int JavaRuntimeVersion(const std::string& java, DWORD limitMs) {
  const std::wstring javaName = WideFromUtf8(java);
  std::string release;
  std::wstring releaseFile = ReleaseFile(javaName);
  if (!releaseFile.empty() && ReadBytes(releaseFile, 1 << 16, &release)) {
    int version = JavaVersionFromReleaseFile(release);
    if (version != 0) return version;
  }
  TempFolder temp;
  if (!temp.created()) return 0;
  // Without perf data, as every run of ours: no hsperfdata folder left in %TEMP%.
  ChildRun run = RunChild(WideFromUtf8(QuotedArgument(java, true) + " -XX:-UsePerfData -version"),
                          temp.path(), temp.Path(L"stdout.txt"), temp.Path(L"stderr.txt"),
                          limitMs < VersionRunLimitMs ? limitMs : VersionRunLimitMs, nullptr);
  std::string output;
  if (!run.started || run.timedOut || !ReadBytes(temp.Path(L"stderr.txt"), 1 << 16, &output)) {
    return 0;
  }
  return JavaVersionFromVersionOutput(output);
}
