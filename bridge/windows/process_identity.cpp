#include "bridge/windows/process_identity.h"

#include <stdlib.h>

#include "bridge/windows/scoped_handle.h"

namespace {

uint64_t StartTimeOf(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

ProcessIdentity IdentityOfProcess(DWORD id) {
  ProcessIdentity identity;
  identity.id = id;
  ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (process.valid()) identity.started = StartTimeOf(process.get());
  return identity;
}

bool ProcessStillRuns(const ProcessIdentity& process) {
  if (process.id == 0) return false;
  ScopedHandle handle(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id));
  if (!handle.valid()) return false;
  if (WaitForSingleObject(handle.get(), 0) != WAIT_TIMEOUT) return false;
  return process.started == 0 || StartTimeOf(handle.get()) == process.started;
}

std::string ProcessIdentityText(const ProcessIdentity& process) {
  return std::to_string(process.id) + " " + std::to_string(process.started);
}

ProcessIdentity ParseProcessIdentity(const std::string& text) {
  ProcessIdentity identity;
  char* end = nullptr;
  identity.id = strtoul(text.c_str(), &end, 10);
  if (end != nullptr && *end == ' ') identity.started = strtoull(end + 1, nullptr, 10);
  return identity;
}
