// The scripted mode's reader: commands, words, quotes and numbers.
#include "standins/lister/script.h"

#include <gtest/gtest.h>

#include "host/listplug.h"

namespace {

TEST(ScriptTest, CommandsSplitAtSemicolonsAndWordsAtBlanksOutsideQuotes) {
  std::vector<ScriptCommand> commands;
  std::wstring error;
  ASSERT_TRUE(ParseScript(L"  load ;; search \"a; b \\\"c\\\\\" first ;thumbnail 1 2 \"\"  ",
                          &commands, &error));
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0], ScriptCommand({L"load"}));
  EXPECT_EQ(commands[1], ScriptCommand({L"search", L"a; b \"c\\", L"first"}));
  EXPECT_EQ(commands[2], ScriptCommand({L"thumbnail", L"1", L"2", L""}));

  // Backslashes that escape nothing stay, as in Windows paths.
  ASSERT_TRUE(ParseScript(L"loadnext \"C:\\dir\\a b.txt\"", &commands, &error));
  EXPECT_EQ(commands[0][1], L"C:\\dir\\a b.txt");

  EXPECT_FALSE(ParseScript(L"search \"open", &commands, &error));
  EXPECT_TRUE(commands.empty());
  EXPECT_FALSE(error.empty());
}

TEST(ScriptTest, NumbersAreDecimalOrHexAndNothingElse) {
  const struct {
    const wchar_t* word;
    bool ok;
    long long value;
  } rows[] = {
      {L"50", true, 50},     {L"-1", true, -1},  {L"0x111", true, 0x111},
      {L"-0x10", true, -16}, {L"010", true, 10}, {L"0x4000000", true, 0x4000000},
      {L"12ab", false, 0},   {L"", false, 0},    {L"x", false, 0},
  };
  for (const auto& row : rows) {
    long long value = 0;
    EXPECT_EQ(ParseInteger(row.word, &value), row.ok) << row.word;
    if (row.ok) {
      EXPECT_EQ(value, row.value) << row.word;
    }
  }
}

TEST(ScriptTest, SearchFlagsByNumberOrByName) {
  int flags = 0;
  ASSERT_TRUE(ParseSearchFlags(L"first+case+words+back", &flags));
  EXPECT_EQ(flags, lcs_findfirst | lcs_matchcase | lcs_wholewords | lcs_backwards);
  ASSERT_TRUE(ParseSearchFlags(L"9", &flags));
  EXPECT_EQ(flags, 9);
  ASSERT_TRUE(ParseSearchFlags(L"back", &flags));
  EXPECT_EQ(flags, lcs_backwards);
  EXPECT_FALSE(ParseSearchFlags(L"first+", &flags));
  EXPECT_FALSE(ParseSearchFlags(L"forward", &flags));
}

}  // namespace
