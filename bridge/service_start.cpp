#include "bridge/service_start.h"

#include <stdio.h>
#include <windows.h>

#include "bridge/engine.h"
#include "bridge/file_access.h"
#include "bridge/service_protocol.h"
#include "bridge/shared_archive.h"
#include "bridge/system_text.h"
#include "bridge/windows_arguments.h"

namespace {

// A start younger than this whose service has not written its port file yet
// is taken to be on its way (a Java runtime starts in a second or two).
const ULONGLONG StartingWindowMs = 20000;

ULONGLONG WriteTime(const std::wstring& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

ULONGLONG NowAsFileTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// The start marker: another bridge's start is under way when the marker is
// recent and no port file was written since. Otherwise this bridge marks its
// own start.
bool ClaimStart(const std::wstring& portFile) {
  const std::wstring marker = portFile + L".start";
  ULONGLONG started = WriteTime(marker);
  if (started != 0 && NowAsFileTime() - started < StartingWindowMs * 10000 &&
      WriteTime(portFile) < started) {
    return false;
  }
  return WriteBytes(marker, "");
}

std::string MinutesAsSeconds(double minutes) {
  char text[32];
  snprintf(text, sizeof text, "%.1f", minutes * 60);
  return text;
}

}  // namespace

std::wstring ServicePortFile(const BridgeContext& context) {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return L"";
  return temp + WideFromUtf8(ServicePortFileName(Utf8FromWide(context.home)));
}

bool StartDecompileService(const std::string& java, int javaVersion, const BridgeContext& context,
                           const std::wstring& portFile) {
  if (java.empty() || portFile.empty() || !ClaimStart(portFile)) return false;
  const std::string home = Utf8FromWide(context.home);
  std::string command = QuotedArgument(java, true);
  for (const std::string& option :
       ServiceJavaOptions(javaVersion, FindSharedArchive("service", java, ServiceJars(home)),
                          context.settings.serviceHeap)) {
    command += " " + QuotedArgument(option);
  }
  // The one-shot run's -Dfile.encoding, so that the source is byte for byte its.
  command += " -Dfile.encoding=UTF-8 -cp " + QuotedArgument(ServiceClassPath(home), true) +
             " dravik.service.DecompileService --port-file " +
             QuotedArgument(Utf8FromWide(portFile), true) + " --idle-seconds " +
             MinutesAsSeconds(context.settings.serviceIdleMinutes);
  std::wstring line = WideFromUtf8(command);
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring directory = n > 0 && n <= MAX_PATH ? temp : context.home;

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Out of any job the bridge runs in where the job allows it, so that the
  // service outlives the bridge; no handles inherited, no window.
  const DWORD flags = DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP;
  bool started =
      CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, flags | CREATE_BREAKAWAY_FROM_JOB,
                     nullptr, directory.c_str(), &startup, &process) ||
      CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, flags, nullptr, directory.c_str(),
                     &startup, &process);
  if (!started) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
