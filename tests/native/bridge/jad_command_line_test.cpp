// Jad's command line as the plugin and users write it, and the output's name.
#include <gtest/gtest.h>

#include "bridge/jad/command_line.h"

namespace {

TEST(JadCommandLineTest, TakesTheLastArgumentAsInputAndOnlyTheOptionsThatMatter) {
  JadRequest plugin = ParseJadCommandLine({"-lnc", "-o", "-s", "-2147483648.java", "-2147483648"});
  EXPECT_TRUE(plugin.valid);
  EXPECT_TRUE(plugin.lineNumbers);
  EXPECT_EQ(plugin.extension, "-2147483648.java");
  EXPECT_EQ(plugin.input, "-2147483648.class");
  EXPECT_EQ(plugin.inputStem, "-2147483648");

  // Other options are passed over with their values; "-s .java" loses its dot.
  JadRequest user =
      ParseJadCommandLine({"-d", "-s", "-pa", "x", "-s", ".java", "-ff", "C:\\classes\\Foo.CLASS"});
  EXPECT_FALSE(user.lineNumbers);
  EXPECT_EQ(user.extension, "java");
  EXPECT_EQ(user.input, "C:\\classes\\Foo.CLASS");
  EXPECT_EQ(user.inputStem, "Foo");

  EXPECT_FALSE(plugin.kotlin);
  EXPECT_FALSE(user.kotlin);

  EXPECT_EQ(ParseJadCommandLine({"-s"}).extension, "jad");  // "-s" is the input here
  EXPECT_FALSE(ParseJadCommandLine({}).valid);
  EXPECT_FALSE(ParseJadCommandLine({"-o", ""}).valid);
}

// The plugin's Kotlin view asks with the extension ".kt".
TEST(JadCommandLineTest, AnExtensionEndingInKtAsksForKotlin) {
  for (const char* extension : {"123.kt", "-5.KT", "kt", ".kt"}) {
    EXPECT_TRUE(ParseJadCommandLine({"-s", extension, "Pair"}).kotlin) << extension;
  }
  for (const char* extension : {"kts", "123.java", "kt.java", "jakt", "t"}) {
    EXPECT_FALSE(ParseJadCommandLine({"-s", extension, "Pair"}).kotlin) << extension;
  }
  EXPECT_FALSE(ParseJadCommandLine({"Pair.kt"}).kotlin);  // the input, not the extension
}

TEST(JadCommandLineTest, OutputNamesAreSafeFileNamesThatFitTheirRoom) {
  JadRequest request = ParseJadCommandLine({"-s", "123.java", "123"});
  const struct {
    std::string className;
    size_t room;
    std::string expected;
  } cases[] = {
      {"Outer$Inner", 100, "Outer$Inner.123.java"},
      {"", 100, "123.123.java"},  // no class name: the input's
      {"a<b>:c\"d|e?f*g\\h", 100, "a_b__c_d_e_f_g_h.123.java"},
      {"Con", 100, "Con_.123.java"},  // a device name Windows reserves
      {"LPT3", 100, "LPT3_.123.java"},
      {"LPT", 100, "LPT.123.java"},
      {"Abcdef", 12, "Abc.123.java"},                          // cut to the room
      {"\xC3\x84\xF0\x9F\x98\x80Z", 11, "\xC3\x84.123.java"},  // the emoji takes two units
      {"\xC3\x84\xF0\x9F\x98\x80Z", 12, "\xC3\x84\xF0\x9F\x98\x80.123.java"},
      {"Abcdef", 3, "A.123.java"},  // never cut to nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OutputFileName(c.className, request, c.room), c.expected) << c.className;
  }
}

}  // namespace
