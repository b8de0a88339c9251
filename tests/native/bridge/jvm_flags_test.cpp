// The runtime's own options by its version: a cache mapped only where the
// runtime has them, made only by a training run, and every run's crash report
// in the bridge's file.
#include "bridge/engines/jvm_flags.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const std::vector<std::string>& options) {
  std::string line;
  for (const std::string& option : options) line += (line.empty() ? "" : " ") + option;
  return line;
}

TEST(JvmFlagsTest, TheCacheIsMappedOnlyWhereTheRuntimeHasOneAndMadeOnlyByTraining) {
  const std::string quick =
      "-XX:+IgnoreUnrecognizedVMOptions -XX:TieredStopAtLevel=1 -XX:CICompilerCount=1 "
      "-XX:CompileThresholdScaling=0.3 -XX:+UseSerialGC -XX:-UsePerfData";
  const std::string crash = " -XX:ErrorFile=C:\\T\\c.log -XX:-CreateCoredumpOnCrash";
  const struct {
    int version;
    std::string archive;
    std::string options;
  } cases[] = {
      {8, "C:\\T\\a.jsa", quick + crash},
      {0, "C:\\T\\a.jsa", quick + crash},
      {17, "", quick + crash},
      {13, "C:\\T\\a.jsa", quick + " -XX:SharedArchiveFile=C:\\T\\a.jsa" + crash},
      {24, "C:\\T\\a.jsa", quick + " -XX:SharedArchiveFile=C:\\T\\a.jsa" + crash},
      {25, "C:\\T\\a.jsa", quick + " -XX:AOTCache=C:\\T\\a.jsa" + crash},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Joined(OneShotJavaOptions(c.version, c.archive, "C:\\T\\c.log")), c.options)
        << c.version;
  }
  EXPECT_EQ(Joined(ServiceJavaOptions(25, "C:\\T\\a.jsa", "256m", "C:\\T\\c.log")),
            "-XX:+IgnoreUnrecognizedVMOptions -Xms16m -Xmx256m -XX:+UseSerialGC -XX:NewRatio=1 "
            "-XX:MinHeapFreeRatio=20 -XX:MaxHeapFreeRatio=40 -XX:CICompilerCount=2 "
            "-XX:-UsePerfData -XX:AOTCache=C:\\T\\a.jsa" +
                crash);
  // The training run is the one-shot run that writes the cache at its end.
  EXPECT_EQ(Joined(TrainingJavaOptions(21, "C:\\T\\t.tmp", "C:\\T\\c.log")),
            quick + crash + " -XX:ArchiveClassesAtExit=C:\\T\\t.tmp");
  EXPECT_EQ(Joined(TrainingJavaOptions(25, "C:\\T\\t.tmp", "C:\\T\\c.log")),
            quick + crash + " -XX:AOTCacheOutput=C:\\T\\t.tmp");
  EXPECT_EQ(Joined(TrainingJavaOptions(11, "C:\\T\\t.tmp", "C:\\T\\c.log")), quick + crash);
}

}  // namespace
