// When the bridge starts the resident service, and when it holds back: a
// start marker beside the port file records each start and how many before it
// failed in a row, with the class-data cache it mapped and the command that
// failed. The service removes the marker once it listens, so a marker older
// than a start takes means that start failed.
#pragma once

#include <stdint.h>

#include <string>

// A start that has not removed its marker within this time has failed (a Java
// runtime starts in seconds, even on a busy machine).
const uint64_t ServiceStartingMs = 20000;

struct ServiceStartPlan {
  bool start = false;
  // Failed starts in a row before this one, for the marker this start writes.
  unsigned failures = 0;
};

// markerAgeMs: how long ago the marker was written, or UINT64_MAX when there
// is none; markerText its content; crashed: its start left a crash report, so
// it has failed however young the marker is; command the start's command line.
ServiceStartPlan PlanServiceStart(uint64_t markerAgeMs, const std::string& markerText, bool crashed,
                                  const std::string& command);

// The marker's content for a start of command, mapping archive ("" for
// none), after failures failed ones.
std::string ServiceStartMarker(unsigned failures, const std::string& archive,
                               const std::string& command);

// The cache that a start which failed mapped: "" when it mapped none, or the
// marker's start has not failed (it is under way, or there is no marker).
std::string FailedStartArchive(uint64_t markerAgeMs, const std::string& markerText, bool crashed);

// How long after a failed start (its marker's time) the next is held back,
// with failures failed starts in a row: 1 minute, doubling, at most an hour.
uint64_t ServiceBackoffMs(unsigned failures);
