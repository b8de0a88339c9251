// The runtime's own options by its version: a class-data archive only where
// the runtime can map and make one, made at the end of a run that found none.
#include "bridge/java_options.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const std::vector<std::string>& options) {
  std::string line;
  for (const std::string& option : options) line += (line.empty() ? "" : " ") + option;
  return line;
}

TEST(JavaOptionsTest, TheArchiveOnlyWhereTheRuntimeHasIt) {
  const SharedArchive missing = {"C:\\T\\a.jsa", false, "C:\\T\\a.jsa.7.tmp"};
  const SharedArchive present = {"C:\\T\\a.jsa", true, "C:\\T\\a.jsa.7.tmp"};
  const SharedArchive nowhere = {"", false, ""};
  const std::string quick =
      "-XX:+IgnoreUnrecognizedVMOptions -XX:TieredStopAtLevel=1 -XX:CICompilerCount=1 "
      "-XX:CompileThresholdScaling=0.3 -XX:+UseSerialGC -XX:-UsePerfData";
  const struct {
    int version;
    const SharedArchive& archive;
    std::string options;
  } cases[] = {
      {8, present, quick},
      {11, missing, quick},
      {0, present, quick},
      {17, nowhere, quick},
      {13, missing, quick + " -XX:ArchiveClassesAtExit=C:\\T\\a.jsa.7.tmp"},
      {17, present, quick + " -XX:SharedArchiveFile=C:\\T\\a.jsa"},
      {19, missing, quick + " -XX:+AutoCreateSharedArchive -XX:SharedArchiveFile=C:\\T\\a.jsa"},
      {25, missing, quick + " -XX:AOTCacheOutput=C:\\T\\a.jsa.7.tmp"},
      {25, present, quick + " -XX:AOTCache=C:\\T\\a.jsa"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Joined(OneShotJavaOptions(c.version, c.archive)), c.options) << c.version;
  }
  // The service, alone for its folder, writes its archive in place when it
  // ends, and checks it when it maps it.
  EXPECT_NE(Joined(ServiceJavaOptions(21, present, "256m"))
                .find(" -XX:+AutoCreateSharedArchive -XX:SharedArchiveFile=C:\\T\\a.jsa "
                      "-XX:+VerifySharedSpaces"),
            std::string::npos);
  EXPECT_EQ(
      Joined(ServiceJavaOptions(17, missing, "256m")),
      "-XX:+IgnoreUnrecognizedVMOptions -Xms16m -Xmx256m -XX:+UseSerialGC -XX:NewRatio=1 "
      "-XX:MinHeapFreeRatio=20 -XX:MaxHeapFreeRatio=40 -XX:CICompilerCount=2 -XX:-UsePerfData "
      "-XX:ArchiveClassesAtExit=C:\\T\\a.jsa");
}

TEST(JavaOptionsTest, AnArchiveIsNamedByItsUseAndEverythingThatMakesItValid) {
  const std::string name = SharedArchiveName("service", {"java 1:2", "jar 3:4"});
  EXPECT_EQ(name.size(), std::string("dravik-service-0123456789abcdef.jsa").size()) << name;
  EXPECT_EQ(name.compare(0, 15, "dravik-service-"), 0) << name;
  EXPECT_EQ(SharedArchiveName("service", {"java 1:2", "jar 3:4"}), name);
  EXPECT_NE(SharedArchiveName("service", {"java 1:2", "jar 3:5"}), name);
  EXPECT_NE(SharedArchiveName("service", {"java 1:2jar 3:4"}), name);
}

}  // namespace
