// When a bridge starts the service: not while another start is under way, at
// once for a new command, and ever later after starts of the same command
// that failed.
#include "bridge/service_client/start_backoff.h"

#include <gtest/gtest.h>

namespace {

TEST(StartBackoffTest, StartsHeldBackAfterFailedStartsOfTheSameCommand) {
  const std::string java = "\"C:\\jdk\\bin\\java.exe\" -cp x dravik.service.DecompileService";
  const uint64_t minute = 60000, window = ServiceStartingMs;
  const struct {
    uint64_t age;
    std::string marker;
    bool start;
    unsigned failures;
  } cases[] = {
      {UINT64_MAX, "", true, 0},                                // no start before
      {window - 1, ServiceStartMarker(0, "", java), false, 0},  // a start under way
      {window - 1, ServiceStartMarker(5, "", "other"), false,
       0},                                                  // under way, whatever its command
      {window, ServiceStartMarker(0, "", java), false, 0},  // the first failure: a minute's wait
      {window + minute, ServiceStartMarker(0, "", java), true, 1},
      {window + 2 * minute - 1, ServiceStartMarker(1, "", java), false, 0},
      {window + 2 * minute, ServiceStartMarker(1, "", java), true, 2},
      {window + 59 * minute, ServiceStartMarker(9, "", java), false, 0},  // at most an hour
      {window + 60 * minute, ServiceStartMarker(9, "", java), true, 10},
      {window + 60 * minute, ServiceStartMarker(4000000000u, "", java), true, 1000},
      {window, ServiceStartMarker(7, "", java + " -Xmx1g"), true, 0},  // another command
      {window, "garbage", true, 0},
  };
  for (const auto& c : cases) {
    ServiceStartPlan plan = PlanServiceStart(c.age, c.marker, false, java);
    EXPECT_EQ(plan.start, c.start) << c.age << " " << c.marker;
    if (plan.start) {
      EXPECT_EQ(plan.failures, c.failures) << c.age << " " << c.marker;
    }
  }
}

// A start that crashed has failed at once; one that mapped a cache names it,
// and the next start, without it, is another command: it goes at once.
TEST(StartBackoffTest, AStartThatFailedWithACacheNamesItAndTheNextGoesAtOnce) {
  const std::string withCache = "java -XX:AOTCache=C:\\T\\a.jsa x";
  const std::string marker = ServiceStartMarker(0, "C:\\T\\a.jsa", withCache);
  EXPECT_EQ(FailedStartArchive(1000, marker, false), "");  // still starting
  EXPECT_EQ(FailedStartArchive(1000, marker, true), "C:\\T\\a.jsa");
  EXPECT_EQ(FailedStartArchive(ServiceStartingMs, marker, false), "C:\\T\\a.jsa");
  EXPECT_EQ(FailedStartArchive(UINT64_MAX, "", true), "");  // a crash after the start
  EXPECT_EQ(FailedStartArchive(ServiceStartingMs, ServiceStartMarker(0, "", "java x"), false), "");

  EXPECT_FALSE(PlanServiceStart(1000, marker, false, "java x").start);
  ServiceStartPlan plan = PlanServiceStart(1000, marker, true, "java x");
  EXPECT_TRUE(plan.start);
  EXPECT_EQ(plan.failures, 0u);
  // The same command crashing again waits as any failed start does.
  EXPECT_FALSE(PlanServiceStart(1000, marker, true, withCache).start);
}

}  // namespace
