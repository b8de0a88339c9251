#include "bridge/service_start.h"

#include <stdint.h>
#include <stdio.h>
#include <windows.h>
// RtlGenRandom: the system's random generator (advapi32's SystemFunction036).
#include <ntsecapi.h>

#include "bridge/engine.h"
#include "bridge/file_access.h"
#include "bridge/scoped_handle.h"
#include "bridge/service_backoff.h"
#include "bridge/service_protocol.h"
#include "bridge/shared_archive.h"
#include "bridge/system_text.h"

namespace {

// The largest first request handed to a new service: a pipe holds it without
// the bridge waiting (classes are seldom above 100 KB).
const size_t MostHandedOverBytes = 1 << 20;

// The service's class-data archives are named for this use.
const char ArchiveUse[] = "service";

// How long ago the file was last written, or UINT64_MAX when it is not there.
uint64_t AgeMs(const std::wstring& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return UINT64_MAX;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  uint64_t written = ticks(data.ftLastWriteTime);
  return ticks(now) > written ? (ticks(now) - written) / 10000 : 0;
}

// 32 hex digits from the system's random generator; "" if it fails.
std::string NewSecret() {
  unsigned char random[16];
  if (!RtlGenRandom(random, sizeof random)) return "";
  const char digits[] = "0123456789abcdef";
  std::string secret;
  for (unsigned char byte : random) {
    secret += digits[byte >> 4];
    secret += digits[byte & 0xF];
  }
  SecureZeroMemory(random, sizeof random);
  return secret;
}

std::string MinutesAsSeconds(double minutes) {
  char text[32];
  snprintf(text, sizeof text, "%.1f", minutes * 60);
  return text;
}

// Starts line detached and windowless with the pipe's reading end as its
// standard input and NUL as its output; no other handle is inherited.
bool StartDetached(std::wstring line, const std::wstring& directory, HANDLE input) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  ScopedHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr));
  if (!nul.valid()) return false;
  HANDLE inherited[] = {input, nul.get()};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::string storage(size, '\0');
  auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(&storage[0]);
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return false;
  bool started = false;
  if (UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                sizeof inherited, nullptr, nullptr)) {
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = nul.get();
    startup.StartupInfo.hStdError = nul.get();
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process = {};
    // Out of any job the bridge runs in where the job allows it, so that the
    // service outlives the bridge.
    const DWORD flags = DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT;
    started =
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags | CREATE_BREAKAWAY_FROM_JOB,
                       nullptr, directory.c_str(), &startup.StartupInfo, &process) ||
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, directory.c_str(),
                       &startup.StartupInfo, &process);
    if (started) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  DeleteProcThreadAttributeList(attributes);
  return started;
}

}  // namespace

std::wstring ServicePortFile(const BridgeContext& context) {
  const std::wstring temp = UserTempFolder();
  if (temp.empty()) return L"";
  return temp + WideFromUtf8(ServicePortFileName(Utf8FromWide(context.home)));
}

bool StartDecompileService(const std::string& java, int javaVersion, const BridgeContext& context,
                           const std::wstring& portFile,
                           const std::function<std::string(const std::string&)>& encodeFirst) {
  if (java.empty() || portFile.empty()) return false;
  const std::string home = Utf8FromWide(context.home);
  const SharedArchive archive = FindSharedArchive(ArchiveUse, java, ServiceJars(home));
  const std::string command = ServiceCommandLine(
      java, ServiceJavaOptions(javaVersion, archive, context.settings.serviceHeap), home,
      Utf8FromWide(portFile), MinutesAsSeconds(context.settings.serviceIdleMinutes));

  const std::wstring marker = portFile + L".start";
  std::string markerText;
  ReadBytes(marker, 65536, &markerText);
  ServiceStartPlan plan = PlanServiceStart(AgeMs(marker), markerText, command);
  if (!plan.start || !WriteBytes(marker, ServiceStartMarker(plan.failures, command))) return false;

  // The secret goes on the service's standard input: a command line can be
  // read by every user of the machine.
  std::string secret = NewSecret();
  if (secret.empty()) return false;
  std::string input = secret + "\n";
  std::string first = encodeFirst(secret);
  if (first.size() <= MostHandedOverBytes) input += first;
  SecureZeroMemory(&secret[0], secret.size());
  // A pipe as large as what goes into it, which a write then fills without
  // waiting for the service to read.
  ScopedHandle read, write;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  bool handed = CreatePipe(read.put(), write.put(), &inherit, static_cast<DWORD>(input.size())) &&
                SetHandleInformation(write.get(), HANDLE_FLAG_INHERIT, 0);
  std::wstring directory = UserTempFolder();
  if (directory.empty()) directory = context.home;
  handed = handed && StartDetached(WideFromUtf8(command), directory, read.get());
  DWORD written = 0;
  handed =
      handed &&
      WriteFile(write.get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr) &&
      written == input.size();
  SecureZeroMemory(&input[0], input.size());
  // A service writes its archive when it ends; older ones (another runtime,
  // an earlier version of the jars) go once this one's is in use.
  if (handed && archive.exists) RemoveOtherArchives(ArchiveUse, archive);
  return handed;
}
