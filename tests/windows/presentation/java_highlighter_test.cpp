// The highlighting pass on the stand-in rich-edit control: examples read back
// character by character ('K' keyword, 'S' string, 'C' comment, '.' base).
#include "presentation/java_highlighter.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/windows/presentation/richedit_window.h"

namespace {

class HighlightTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(window.control(), nullptr); }

  std::string Highlight(const std::string& text) {
    window.SetText(text);
    ApplyHighlighting(window.control(), LightPalette);
    return window.StyleLetters();
  }

  RichEditWindow window;
};

TEST_F(HighlightTest, ExamplesStyleWhatTheRulesSay) {
  const struct {
    const char* text;
    const char* letters;
  } cases[] = {
      // Only the word before the first space; the rest of the declaration stays base.
      {"int x = 1;", "KKK......."},
      {"public static void", "KKKKKK.KKKKKK.KKKK"},
      // Exact, case-sensitive, and the Java literals are no keywords.
      {"Int INT true false null", "......................."},
      // A tab is no space: it stays in the word.
      {"int\tx", "....."},
      // A line comment runs through its CR, or to the end of the text without one.
      {"a // one\rint b", "..CCCCCCCKKK.."},
      {"x // note", "..CCCCCCC"},
      // An unterminated block comment runs to the end of the text.
      {"int /* open int", "KKK.CCCCCCCCCCC"},
      // "/**/" is complete; "/*/" is not closed by its own slash.
      {"/**/int", "CCCCKKK"},
      {"/*/ int */ int", "CCCCCCCCCC.KKK"},
      // Division and compound assignment open nothing.
      {"a / b /= c; int", "............KKK"},
      // A backslash escapes nothing: the escaped quote ends the literal and
      // the real closing quote opens the next one.
      {"x \"a\\\"b\" y \"c\"", "..SSSS.SSSSS.S"},
      {"char c = 'x';", "KKKK.....SSS."},
      // Quotes and slashes inside comments and literals open nothing.
      {"\"// if\" /* \"x\" */ if", "SSSSSSS.CCCCCCCCC.KK"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Highlight(c.text), c.letters) << "text: " << c.text;
  }
}

// Each contextual keyword where Java reads it as one, beside the same word as a
// name; text blocks, escaped quotes inside them, as one literal.
TEST_F(HighlightTest, ContextualKeywordsInTheirPlaceAndTextBlocksAsOneLiteral) {
  const struct {
    const char* text;
    const char* letters;
  } cases[] = {
      {"record Point(int x, int y)", "KKKKKK.......KKK....KKK..."},
      {"Record record = r;", ".................."},
      {"case 1: yield x;", "KKKK....KKKKK..."},
      {"int yield = 1;", "KKK..........."},
      {"var list = new A();", "KKK........KKK....."},
      {"String var = s;", "..............."},
      {"sealed interface Shape permits Circle, Square",
       "KKKKKK.KKKKKKKKK.......KKKKKKK..............."},
      {"boolean sealed;", "KKKKKKK........"},
      {"public non-sealed class C", "KKKKKK.KKKKKKKKKK.KKKKK.."},
      {"a = non - sealed;", "................."},
      // A quote and an escaped """ inside; the closer behind an escaped backslash.
      {"s = \"\"\"\r  a \"q\" \\\"\"\" b\r  \"\"\"; int", "....SSSSSSSSSSSSSSSSSSSSSSSS..KKK"},
      {"\"\"\"\r\\\\\"\"\" int", "SSSSSSSSS.KKK"},
      {"\"\"\"\r int", "SSSSSSSS"},  // unterminated: to the end
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Highlight(c.text), c.letters) << "text: " << c.text;
  }
}

TEST_F(HighlightTest, EndsWithTheCaretAtTheStartAndCourierNewThroughout) {
  for (const char* text : {"", "int x; // c\r\"s\" /* b */"}) {
    window.SetText(text);
    ApplyHighlighting(window.control(), LightPalette);
    int start = -1;
    int end = -1;
    window.Selection(&start, &end);
    EXPECT_EQ(start, 0) << text;
    EXPECT_EQ(end, 0) << text;
  }
  int length = static_cast<int>(window.Text().size());
  for (int i = 0; i < length; ++i) {
    EXPECT_EQ(window.FaceAt(i), "Courier New") << i;
  }
}

// Ranges longer than the 127-character word buffer are fetched cut to 127
// characters; what follows them is still highlighted.
TEST_F(HighlightTest, LongRangesAreFetchedAtMost127CharactersAtATime) {
  const std::string identifier(300, 'q');
  const struct {
    std::string text;
    std::string letters;
  } cases[] = {
      {identifier + " int", std::string(301, '.') + "KKK"},
      {"int" + identifier + " int", std::string(304, '.') + "KKK"},
      {"\"" + identifier + "\" int", std::string(302, 'S') + ".KKK"},
      {"// " + identifier + "\rint", std::string(304, 'C') + "KKK"},
  };
  for (const auto& c : cases) {
    window.SetText(c.text);
    window.StartRecording();
    ApplyHighlighting(window.control(), LightPalette);
    window.StopRecording();
    EXPECT_EQ(window.StyleLetters(), c.letters) << c.text.substr(0, 8);
    for (const CHARRANGE& fetch : window.fetches()) {
      EXPECT_GE(fetch.cpMax, fetch.cpMin);
      EXPECT_LE(fetch.cpMax - fetch.cpMin, 127) << "from " << fetch.cpMin;
    }
  }
}

}  // namespace
