#include "bridge/service_backoff.h"

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

std::string ServiceStartMarker(unsigned failures, const std::string& command) {
  return std::to_string(failures) + "\n" + command;
}

ServiceStartPlan PlanServiceStart(uint64_t markerAgeMs, const std::string& markerText,
                                  const std::string& command) {
  ServiceStartPlan plan;
  if (markerAgeMs == UINT64_MAX) {
    plan.start = true;
    return plan;
  }
  // Another bridge's start, still under way.
  if (markerAgeMs < ServiceStartingMs) return plan;
  // The marker is left: its start failed. Another command (new settings, or
  // another runtime) is worth a try at once.
  size_t lineEnd = markerText.find('\n');
  if (lineEnd == std::string::npos ||
      markerText.compare(lineEnd + 1, std::string::npos, command) != 0) {
    plan.start = true;
    return plan;
  }
  unsigned long before = strtoul(markerText.substr(0, lineEnd).c_str(), nullptr, 10);
  unsigned failed = before < 1000 ? static_cast<unsigned>(before) + 1 : 1000;
  if (markerAgeMs - ServiceStartingMs < ServiceBackoffMs(failed)) return plan;
  plan.start = true;
  plan.failures = failed;
  return plan;
}
