// The decompiler's output as ANSI source, with code pages stood in by tables,
// and the error comment the bridge writes instead.
#include "bridge/ansi_source.h"

#include <gtest/gtest.h>

#include "bridge/error_comment.h"

namespace {

// Latin-1 and Windows-1251's Cyrillic letters, as two ANSI code pages.
bool Latin1(char32_t c, std::string* bytes) {
  if (c > 0xFF) return false;
  bytes->push_back(static_cast<char>(c));
  return true;
}
bool Cyrillic1251(char32_t c, std::string* bytes) {
  if (c < 0x410 || c > 0x44F) return false;
  bytes->push_back(static_cast<char>(0xC0 + (c - 0x410)));
  return true;
}

TEST(AnsiSourceTest, WhatTheCodePageCannotHoldBecomesJavaEscapes) {
  const std::string text =
      "s = \"\xD0\x9F\xD1\x80\xD0\xB8, \xE4\xB8\x96\xE7\x95\x8C \xF0\x9F\x98\x80 caf\xC3\xA9\";";
  EXPECT_EQ(ToAnsiSource(text, Latin1),
            "s = \"\\u041f\\u0440\\u0438, \\u4e16\\u754c \\ud83d\\ude00 caf\xE9\";");
  EXPECT_EQ(ToAnsiSource(text, Cyrillic1251),
            "s = \"\xCF\xF0\xE8, \\u4e16\\u754c \\ud83d\\ude00 caf\\u00e9\";");
}

TEST(AnsiSourceTest, LineEndsBecomeCrLfAndZerosEscapesWhateverTheEncoding) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"a\nb\r\nc\rd\r\r\ne\n", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"},
      {"\xEF\xBB\xBFint x;\n", "int x;\r\n"},  // byte-order mark dropped
      {std::string("a\0b", 3), "a\\u0000b"},   // no zero byte reaches the plugin
      {"caf\xE9\n", "caf\xE9\r\n"},            // not UTF-8: already ANSI
      {std::string("\xC0\xAF\0\r", 4), std::string("\xC0\xAF\\u0000\r\n")},  // overlong: ANSI
      {"\xED\xA0\xBD", "\xED\xA0\xBD"},  // an encoded surrogate is no UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(ToAnsiSource(c.in, Latin1), c.out) << c.in;
  EXPECT_TRUE(IsUtf8("\xF4\x8F\xBF\xBF"));
  EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(ErrorCommentTest, IsOneBlockCommentWhateverItsLinesHold) {
  EXPECT_EQ(ErrorComment({"No Java runtime.", "", "see C:\\x*/y */"}),
            "/*\n * No Java runtime.\n *\n * see C:\\x* /y * /\n */\n");
  EXPECT_EQ(LastLines("one\r\ntwo\n\n  \nthree\n", 2, 100),
            (std::vector<std::string>{"two", "three"}));
  // Cut at a character's start, never inside the two bytes of "\xC3\xA9".
  EXPECT_EQ(LastLines("ab\xC3\xA9", 5, 3), (std::vector<std::string>{"ab..."}));
  EXPECT_TRUE(LastLines("\n\n", 3, 10).empty());
}

}  // namespace
