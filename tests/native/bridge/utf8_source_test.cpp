// The decompiler's output as the plugin's UTF-8 source, and the error comment
// the bridge writes instead.
#include "bridge/jad/utf8_source.h"

#include <gtest/gtest.h>

#include "bridge/jad/error_comment.h"

namespace {

const std::string kMark = "\xEF\xBB\xBF";

TEST(Utf8SourceTest, CharactersStayAsWrittenBehindTheMark) {
  // Cyrillic, CJK, an emoji and Latin-1 as the engine wrote them, its own
  // escape of a control character too; a mark the text brought is not doubled.
  const std::string text =
      "s = \"\xD0\x9F\xD1\x80\xD0\xB8, \xE4\xB8\x96\xE7\x95\x8C \xF0\x9F\x98\x80 caf\xC3\xA9\\n\";";
  EXPECT_EQ(ToUtf8Source(text), kMark + text);
  EXPECT_EQ(ToUtf8Source(kMark + text), kMark + text);
}

TEST(Utf8SourceTest, AnEscapedSurrogatePairBecomesItsCharacterOtherEscapesStay) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"\"\\ud83d\\uDE00!\"", "\"\xF0\x9F\x98\x80!\""},        // as Vineflower writes an emoji
      {"// \\uuD83D\\ude00", "// \xF0\x9F\x98\x80"},           // Java reads it in comments too
      {"\"\\\\ud83d\\ude00\"", "\"\\\\ud83d\\ude00\""},        // an escaped backslash, then text
      {"\"\\\\\\ud83d\\ude00\"", "\"\\\\\xF0\x9F\x98\x80\""},  // three: the third escapes
      {"'\\ud83d' '\\ude00'", "'\\ud83d' '\\ude00'"},          // lone halves
      {"\\ude00\\ud83d \\u0041 \\u000a", "\\ude00\\ud83d \\u0041 \\u000a"},
      {"\\ud83d\\ude0", "\\ud83d\\ude0"},  // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8Source(c.in), kMark + c.out) << c.in;
}

TEST(Utf8SourceTest, LineEndsBecomeCrLfZerosEscapesAndMalformedBytesReplacements) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"a\nb\r\nc\rd\r\r\ne\n", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"},
      {"", ""},
      {std::string("a\0b", 3), "a\\u0000b"},  // no zero byte reaches the plugin
      // Not UTF-8 (a Latin-1 byte, an overlong slash, an encoded surrogate):
      // each byte one U+FFFD, the text around it whole.
      {"caf\xE9\n", "caf\xEF\xBF\xBD\r\n"},
      {"\xC0\xAF!", "\xEF\xBF\xBD\xEF\xBF\xBD!"},
      {"\xED\xA0\xBD\r", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8Source(c.in), kMark + c.out) << c.in;
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
