#include "bridge/service_client/start_backoff.h"

#include <stdlib.h>

namespace {

const uint64_t FirstBackoffMs = 60 * 1000;
const uint64_t LongestBackoffMs = 60 * 60 * 1000;

}  // namespace

uint64_t ServiceBackoffMs(unsigned failures) {
  if (failures == 0) return 0;
  uint64_t backoff = FirstBackoffMs;
  for (unsigned i = 1; i < failures && backoff < LongestBackoffMs; ++i) backoff *= 2;
  return backoff < LongestBackoffMs ? backoff : LongestBackoffMs;
}

namespace {

// The marker's lines: failures, archive, command; false when it has not all.
bool ReadMarker(const std::string& text, unsigned long* failures, std::string* archive,
                std::string* command) {
  const size_t first = text.find('\n');
  const size_t second = first == std::string::npos ? first : text.find('\n', first + 1);
  if (second == std::string::npos) return false;
  *failures = strtoul(text.substr(0, first).c_str(), nullptr, 10);
  *archive = text.substr(first + 1, second - first - 1);
  *command = text.substr(second + 1);
  return true;
}

}  // namespace

std::string ServiceStartMarker(unsigned failures, const std::string& archive,
                               const std::string& command) {
  return std::to_string(failures) + "\n" + archive + "\n" + command;
}

std::string FailedStartArchive(uint64_t markerAgeMs, const std::string& markerText, bool crashed) {
  unsigned long failures;
  std::string archive, command;
  if (markerAgeMs == UINT64_MAX || (markerAgeMs < ServiceStartingMs && !crashed) ||
      !ReadMarker(markerText, &failures, &archive, &command)) {
    return "";
  }
  return archive;
}

ServiceStartPlan PlanServiceStart(uint64_t markerAgeMs, const std::string& markerText, bool crashed,
                                  const std::string& command) {
  ServiceStartPlan plan;
  if (markerAgeMs == UINT64_MAX) {
    plan.start = true;
    return plan;
  }
  // Another bridge's start, still under way.
  if (markerAgeMs < ServiceStartingMs && !crashed) return plan;
  // The marker is left: its start failed. Another command (new settings,
  // another runtime, or no cache where the failed one mapped one) is worth a
  // try at once.
  unsigned long before;
  std::string archive, failedCommand;
  if (!ReadMarker(markerText, &before, &archive, &failedCommand) || failedCommand != command) {
    plan.start = true;
    return plan;
  }
  unsigned failed = before < 1000 ? static_cast<unsigned>(before) + 1 : 1000;
  const uint64_t sinceFailed =
      markerAgeMs > ServiceStartingMs ? markerAgeMs - ServiceStartingMs : 0;
  if (sinceFailed < ServiceBackoffMs(failed)) return plan;
  plan.start = true;
  plan.failures = failed;
  return plan;
}
