#include "bridge/service_client/start_service.h"

#include <stdint.h>
#include <stdio.h>
#include <windows.h>
// RtlGenRandom: the system's random generator (advapi32's SystemFunction036).
#include <ntsecapi.h>

#include "bridge/engines/engine.h"
#include "bridge/engines/jvm_flags.h"
#include "bridge/service_client/protocol.h"
#include "bridge/service_client/start_backoff.h"
#include "bridge/windows/detached_process.h"
#include "bridge/windows/file_access.h"
#include "bridge/windows/scoped_handle.h"
#include "bridge/windows/wide_text.h"

namespace {

// The largest first request handed to a new service: a pipe holds it without
// the bridge waiting (classes are seldom above 100 KB).
const size_t MostHandedOverBytes = 1 << 20;

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

}  // namespace

std::wstring ServicePortFile(const BridgeContext& context) {
  const std::wstring temp = UserTempFolder();
  if (temp.empty()) return L"";
  return temp + WideFromUtf8(ServicePortFileName(Utf8FromWide(context.home)));
}

std::string ServiceSettingsKeyFor(const std::string& java, int javaVersion,
                                  const BridgeContext& context) {
  return ServiceSettingsKey(java, javaVersion, context.settings.serviceHeap,
                            MinutesAsSeconds(context.settings.serviceIdleMinutes));
}

bool StartDecompileService(const std::string& java, int javaVersion, const BridgeContext& context,
                           const std::wstring& portFile, SharedArchive* archive,
                           const std::function<std::string(const std::string&)>& encodeFirst) {
  if (java.empty() || portFile.empty()) return false;
  const std::wstring marker = portFile + L".start";
  const std::wstring crashReport = portFile + L".crash";
  std::string markerText;
  ReadBytes(marker, 65536, &markerText);
  const uint64_t markerAge = FileAgeMs(marker);
  const bool crashed = IsFile(crashReport);
  // A start that failed with the cache it mapped: the next goes without it,
  // at once (its command differs).
  const std::string failedWith = FailedStartArchive(markerAge, markerText, crashed);
  if (!failedWith.empty() && WideFromUtf8(failedWith) == archive->file) DropSharedArchive(archive);

  const std::string home = Utf8FromWide(context.home);
  const std::string cache = Utf8FromWide(archive->file);
  const std::string command = ServiceCommandLine(
      java,
      ServiceJavaOptions(javaVersion, cache, context.settings.serviceHeap,
                         Utf8FromWide(crashReport)),
      home, Utf8FromWide(portFile), MinutesAsSeconds(context.settings.serviceIdleMinutes),
      ServiceSettingsKeyFor(java, javaVersion, context));
  ServiceStartPlan plan = PlanServiceStart(markerAge, markerText, crashed, command);
  if (!plan.start) return false;
  RemoveFile(crashReport);
  if (!WriteBytes(marker, ServiceStartMarker(plan.failures, cache, command))) return false;

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
  handed = handed && StartDetached(WideFromUtf8(command), directory, read.get(), 0) != 0;
  DWORD written = 0;
  handed =
      handed &&
      WriteFile(write.get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr) &&
      written == input.size();
  SecureZeroMemory(&input[0], input.size());
  return handed;
}
