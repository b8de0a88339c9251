// Word breaking as the highlighter walks it, and text search in both
// directions with each flag.
#include "tests/windows/richedit/richedit_fixture.h"
// After windows.h: FR_DOWN, FR_WHOLEWORD, FR_MATCHCASE.
#include <commdlg.h>

namespace {

class WordTest : public RichEditTest {
 protected:
  void SetUp() override {
    RichEditTest::SetUp();
    ASSERT_NE(Create(), nullptr);
  }
  int Break(WPARAM code, int position) const {
    return static_cast<int>(Send(EM_FINDWORDBREAK, code, position));
  }
  // The positions WB_MOVEWORDRIGHT steps through from 0 to the end.
  std::vector<int> RightSteps() const {
    std::vector<int> steps = {0};
    while (steps.size() < 100) {
      const int next = Break(WB_MOVEWORDRIGHT, steps.back());
      if (next == steps.back()) break;
      steps.push_back(next);
    }
    return steps;
  }
  int Find(WPARAM flags, int min, int max, const char* needle) const {
    FINDTEXTA find = {{min, max}, needle};
    return static_cast<int>(Send(EM_FINDTEXT, flags, reinterpret_cast<LPARAM>(&find)));
  }
};

TEST_F(WordTest, MoveWordRightStepsOverEachWordAndTheBlanksAfterIt) {
  struct Case {
    const char* text;
    std::vector<int> steps;
  } cases[] = {
      {"one two  three", {0, 4, 9, 14}},
      {"Lorem ipsum\rdolor sit\ramet", {0, 6, 11, 12, 18, 21, 22, 26}},
      {"WIN.COM", {0, 3, 4, 7}},
      {"int x = 5;", {0, 4, 6, 8, 9, 10}},
      {"foo.bar(baz)", {0, 3, 4, 7, 8, 11, 12}},
      {"\"a b\"", {0, 1, 3, 4, 5}},
      {"// c", {0, 3, 4}},
      {"a += b;", {0, 2, 5, 6, 7}},
      {"int\tx", {0, 4, 5}},                  // the tab trails the word
      {"x \t y\r\n  z", {0, 4, 5, 6, 8, 9}},  // CR LF is one mark; blanks opening a line
      {"snake_case2 MAX_VALUE", {0, 12, 21}},
      {"", {0}},
  };
  for (const Case& c : cases) {
    SetText(c.text);
    EXPECT_EQ(RightSteps(), c.steps) << c.text;
  }
}

TEST_F(WordTest, AtOrBeyondTheEndEveryMoveGivesTheEnd) {
  SetText("ab cd");
  for (int position : {5, 6, 1000}) EXPECT_EQ(Break(WB_MOVEWORDRIGHT, position), 5) << position;
  EXPECT_EQ(Break(WB_MOVEWORDRIGHT, -3), 3);
}

TEST_F(WordTest, LeftwardMovesAndClassification) {
  SetText("one two  three\rfour");
  const int left_steps[][2] = {{19, 15}, {15, 14}, {14, 9}, {9, 4}, {4, 0}, {0, 0}, {2, 0}};
  for (const auto& step : left_steps) {
    EXPECT_EQ(Break(WB_MOVEWORDLEFT, step[0]), step[1]) << step[0];
  }
  EXPECT_EQ(Break(WB_RIGHTBREAK, 0), 3);  // the end of "one", before its blank
  EXPECT_EQ(Break(WB_LEFTBREAK, 6), 4);
  // Only the space is a delimiter.
  SetText("a b\tc\rd");
  const int delimiters[][2] = {{0, 0}, {1, 1}, {3, 0}, {5, 0}, {7, 0}};
  for (const auto& d : delimiters) EXPECT_EQ(Break(WB_ISDELIMITER, d[0]), d[1]) << d[0];
  EXPECT_NE(Break(WB_CLASSIFY, 1) & WBF_ISWHITE, 0);
  EXPECT_EQ(Break(WB_CLASSIFY, 0) & WBF_ISWHITE, 0);
}

TEST_F(WordTest, FindInBothDirectionsWithEachFlag) {
  // 0   4   8    13   18
  SetText("abc ABC abcd xabc abc");
  const WPARAM down = FR_DOWN, cased = FR_MATCHCASE, whole = FR_WHOLEWORD;
  struct Case {
    WPARAM flags;
    int min, max;
    const char* needle;
    int expected;
  } cases[] = {
      {down, 0, -1, "abc", 0},
      {down, 1, -1, "abc", 4},  // case folded
      {down | cased, 1, -1, "abc", 8},
      {down | whole, 1, -1, "abc", 4},
      {down | whole | cased, 1, -1, "abc", 18},
      {down | whole, 0, -1, "ab", -1},
      {down, 0, 2, "abc", -1},  // the match must lie within the range
      {down, 0, 100, "abc", 0},
      {down, 19, 100, "abc", -1},
      {down, -1, -1, "abc", -1},
      {down, 0, -1, "", -1},
      {0, 21, -1, "abc", 18},
      {0, 20, -1, "abc", 14},  // must end at or before cpMin
      {0, 100, -1, "abc", 18},
      {cased, 21, -1, "ABC", 4},
      {whole, 18, -1, "abc", 4},
      {whole | cased, 21, -1, "ABC", 4},
      {0, 21, 10, "abc", 18},  // lower limit cpMax
      {0, 17, 10, "abc", 14},
      {0, 13, 10, "abc", -1},
      {0, 21, 30, "abc", 18},  // cpMax above cpMin: no lower limit
      {0, 2, -1, "abc", -1},
      {0, -1, -1, "abc", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Find(c.flags, c.min, c.max, c.needle), c.expected)
        << "flags " << c.flags << " range " << c.min << ".." << c.max << " '" << c.needle << "'";
  }
}

TEST_F(WordTest, FindSeesBreaksAsCrAndFindTextExReportsTheMatch) {
  SetText("a = 1;\r\n// x\r\nb");
  EXPECT_EQ(Find(FR_DOWN, 1, -1, "\r"), 6);
  EXPECT_EQ(Find(FR_DOWN, 0, -1, "//"), 7);
  FINDTEXTEXA find = {{0, -1}, "X", {0, 0}};
  EXPECT_EQ(Send(EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)), 10);
  EXPECT_EQ(find.chrgText.cpMin, 10);
  EXPECT_EQ(find.chrgText.cpMax, 11);
}

}  // namespace
