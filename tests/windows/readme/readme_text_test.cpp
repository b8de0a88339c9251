// The readers the readme tests rely on: a made-up key or setting must be
// found, or those tests would pass on anything.
#include "tests/windows/readme/readme_text.h"

#include <gtest/gtest.h>

namespace {

const char kMadeUp[] =
    "Some heading\n"
    "  Ctrl+C    copy, and Alt+X in a sentence\n"
    "\n"
    "Keys in the Lister\n"
    "  Ctrl+C     copy the selection\n"
    "  N, P       the next or previous file, with Shift+F3\n"
    "             and a line that goes on, naming F7\n"
    "  Ctrl+Q     nothing at all\n"
    "\n"
    "  A note after the table, on Ctrl+K.\n"
    "Settings\n"
    "  timeout=, 45 by default; (colour=blue) and java=C:\\x, not\n"
    "  -Dfile.encoding=UTF-8 nor \"--indent-string=    \"\n";

TEST(ReadmeTextTest, ATableGivesItsKeysAndTheTextItsKeysAndSettings) {
  EXPECT_EQ(KeyTableKeys(kMadeUp, "Keys in the Lister"),
            (std::vector<std::string>{"Ctrl+C", "N", "P", "Ctrl+Q"}));
  EXPECT_TRUE(KeyTableKeys(kMadeUp, "Keys").empty());
  EXPECT_EQ(NamedKeys(kMadeUp), (std::vector<std::string>{"Ctrl+C", "Alt+X", "Ctrl+C", "Shift+F3",
                                                          "F7", "Ctrl+Q", "Ctrl+K"}));
  EXPECT_EQ(NamedSettings(kMadeUp), (std::vector<std::string>{"timeout", "colour", "java"}));
  EXPECT_EQ(Unknown(NamedKeys(kMadeUp), {"Ctrl+C", "Shift+F3", "F7"}),
            (std::vector<std::string>{"Alt+X", "Ctrl+Q", "Ctrl+K"}));
}

TEST(ReadmeTextTest, ANumberIsReadAcrossLineBreaks) {
  EXPECT_EQ(StatedNumbers(kMadeUp, R"(timeout=, (\d+) by default)"),
            (std::vector<std::string>{"45"}));
  EXPECT_EQ(StatedNumbers("  waits 1\n  minute, then 2,\n;     4",
                          R"(waits (\d+) minute, then (\d+), (\d+))"),
            (std::vector<std::string>{"1", "2", "4"}));
  EXPECT_TRUE(StatedNumbers(kMadeUp, R"(timeout=, (\d+) seconds)").empty());
}

}  // namespace
