// The settings file, the command template and the order of the Java search.
#include "bridge/settings/jad_ini.h"

#include <gtest/gtest.h>

#include <set>

#include "bridge/java_runtime/search_order.h"

namespace {

TEST(JadIniTest, ReadsKeysSkipsCommentsAndKeepsDefaultsForWhatIsWrong) {
  BridgeSettings defaults = ParseBridgeSettings("");
  EXPECT_EQ(defaults.java, "");
  EXPECT_EQ(defaults.decompiler, "");
  EXPECT_EQ(defaults.lines, "");
  EXPECT_EQ(defaults.timeoutSeconds, 45u);

  BridgeSettings read = ParseBridgeSettings(
      "\xEF\xBB\xBF[bridge]\r\n"
      ";java=C:\\commented\\java.exe\r\n"
      "# timeout=1\n"
      "  java = C:\\first\\java.exe \r\n"
      "java=C:\\jdk 17\\bin\\java.exe\r\n"
      "timeout=12\r\n"
      "timeout=12s\r\n"
      "timeout=0\r\n"
      "lines=\r\n"
      "colour=blue\r\n"
      "decompiler=\"{java}\" -jar cfr.jar {class}");
  EXPECT_EQ(read.java, "C:\\jdk 17\\bin\\java.exe");
  EXPECT_EQ(read.timeoutSeconds, 12u);
  EXPECT_EQ(read.lines, "");
  EXPECT_EQ(read.decompiler, "\"{java}\" -jar cfr.jar {class}");
  EXPECT_EQ(ParseBridgeSettings("decompiler=x\ndecompiler=\n").decompiler, "");
}

TEST(JadIniTest, ExpandsEveryKnownPlaceholderAndNothingElse) {
  EXPECT_EQ(ExpandTemplate(
                "\"{java}\" {lines} -o \"{out}\" {class} {other} {java",
                {{"java", "C:\\j.exe"}, {"lines", "-ln"}, {"out", "D:\\o"}, {"class", "{out}"}}),
            "\"C:\\j.exe\" -ln -o \"D:\\o\" {out} {other} {java");
  EXPECT_TRUE(UsesPlaceholder("\"{java}\" -jar cfr.jar --outputdir \"{out}\"", "out"));
  EXPECT_FALSE(UsesPlaceholder("jad-original.exe {class}", "java"));
}

TEST(JavaSearchTest, LooksInSettingsJavaHomePathAndRegistryInThatOrder) {
  std::set<std::string> files;
  auto isFile = [&](const std::string& name) { return files.count(name) > 0; };
  JavaPlaces places;
  places.settingsFile = "C:\\dravik\\jad.ini";
  places.settingsJava = "C:\\portable\\java.exe";
  places.javaHome = "C:\\home\\";
  places.path = "C:\\Windows;\"C:\\quoted dir\";;C:\\last";
  places.registryHomes = {"C:\\missing", "C:\\registered"};

  // Each place wins over every later one; the trail says where it looked.
  const char* const inOrder[] = {"C:\\portable\\java.exe", "C:\\home\\bin\\java.exe",
                                 "C:\\quoted dir\\java.exe", "C:\\last\\java.exe",
                                 "C:\\registered\\bin\\java.exe"};
  for (const char* java : inOrder) files.insert(java);
  for (const char* expected : inOrder) {
    JavaSearch search = FindJava(places, isFile);
    EXPECT_EQ(search.java, expected);
    files.erase(expected);
  }
  JavaSearch none = FindJava(places, isFile);
  EXPECT_EQ(none.java, "");
  EXPECT_EQ(
      none.trail,
      (std::vector<std::string>{
          "java= in C:\\dravik\\jad.ini: C:\\portable\\java.exe does not exist",
          "JAVA_HOME: C:\\home\\bin\\java.exe does not exist", "PATH: no java.exe in its 3 folders",
          "registry (SOFTWARE\\JavaSoft): C:\\missing\\bin\\java.exe does not exist",
          "registry (SOFTWARE\\JavaSoft): C:\\registered\\bin\\java.exe does not "
          "exist"}));

  JavaSearch unset = FindJava(JavaPlaces{"C:\\dravik\\jad.ini", "", "", "", {}}, isFile);
  EXPECT_EQ(unset.trail, (std::vector<std::string>{
                             "java= in C:\\dravik\\jad.ini: not set", "JAVA_HOME: not set",
                             "PATH: no java.exe in its 0 folders",
                             "registry (SOFTWARE\\JavaSoft): no Java runtime registered"}));
}

}  // namespace
