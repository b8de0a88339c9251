// ListSearchText: the request it puts to the control (scripted control) and
// what a search does to selection and scroll position (real control).
// clang-format off
#include <windows.h>
#include <commdlg.h>  // the FR_ find flags; needs windows.h first
// clang-format on

#include <gtest/gtest.h>
#include <stdio.h>

#include "host/listplug.h"
#include "tests/windows/viewer/viewer_fixture.h"

namespace {

using TextSearchTest = ViewerTest;

int FirstVisibleLine(HWND list) {
  return static_cast<int>(SendMessageA(list, EM_GETFIRSTVISIBLELINE, 0, 0));
}

std::pair<int, int> Selection(HWND list) {
  DWORD start = 0, end = 0;
  SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

TEST_F(TextSearchTest, FlagsMapToFindFlagsAndOtherBitsAreIgnored) {
  HWND list = CreateScriptedControl();
  const struct {
    int lister;
    WPARAM find;
  } cases[] = {
      {0, FR_DOWN},
      {lcs_findfirst, FR_DOWN},
      {lcs_matchcase, FR_DOWN | FR_MATCHCASE},
      {lcs_wholewords, FR_DOWN | FR_WHOLEWORD},
      {lcs_backwards, 0},
      {lcs_matchcase | lcs_wholewords | lcs_backwards, FR_MATCHCASE | FR_WHOLEWORD},
      {0x7FF0, FR_DOWN},
  };
  char word[] = "word";
  for (const auto& c : cases) {
    EXPECT_EQ(ListSearchText(list, word, c.lister), LISTPLUGIN_ERROR);
    EXPECT_EQ(scripted().findFlags, c.find) << "lister flags " << c.lister;
  }
}

TEST_F(TextSearchTest, RangeStartsAtTheVisibleTopOrPastTheSelectionStart) {
  HWND list = CreateScriptedControl();
  scripted().firstVisibleLine = 5;
  scripted().selectionStart = 42;
  scripted().textLength = 999;
  char word[] = "abc";

  ListSearchText(list, word, lcs_findfirst);
  EXPECT_EQ(scripted().find.chrg.cpMin, 50);
  EXPECT_EQ(scripted().find.chrg.cpMax, 999);
  EXPECT_EQ(scripted().findText, L"abc");
  // The caret goes to the start first; the failed search then removes it.
  std::vector<std::pair<int, int>> expected = {{50, 50}, {-1, -1}};
  EXPECT_EQ(scripted().selections, expected);

  scripted().selections.clear();
  scripted().findResult = 123;  // on scripted line 12
  EXPECT_EQ(ListSearchText(list, word, lcs_backwards), LISTPLUGIN_OK);
  EXPECT_EQ(scripted().find.chrg.cpMin, 43);
  EXPECT_EQ(scripted().find.chrg.cpMax, 999);
  expected = {{123, 126}};
  EXPECT_EQ(scripted().selections, expected);
  EXPECT_EQ(scripted().scrolls, std::vector<int>{9 - 5});

  EXPECT_EQ(ListSearchText(list, nullptr, lcs_findfirst), LISTPLUGIN_ERROR);
}

TEST_F(TextSearchTest, RepeatedSearchesFindOverlappingMatchesThenNothing) {
  HWND list = CreateRichEdit("aaaa");
  ASSERT_NE(list, nullptr);
  char pair[] = "aa";
  EXPECT_EQ(ListSearchText(list, pair, lcs_findfirst), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(list), std::make_pair(0, 2));
  EXPECT_EQ(ListSearchText(list, pair, 0), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(list), std::make_pair(1, 3));
  EXPECT_EQ(ListSearchText(list, pair, 0), LISTPLUGIN_OK);
  EXPECT_EQ(Selection(list), std::make_pair(2, 4));
  EXPECT_EQ(ListSearchText(list, pair, 0), LISTPLUGIN_ERROR);
  std::pair<int, int> none = Selection(list);
  EXPECT_EQ(none.first, none.second) << "no selection is left";
  EXPECT_TRUE(TakePosted().empty());
}

TEST_F(TextSearchTest, AFirstSearchStartsAtTheTopVisibleLine) {
  HWND list = CreateRichEdit(NumberedText(100).c_str());
  ASSERT_NE(list, nullptr);
  SendMessageA(list, EM_LINESCROLL, 0, 20);
  ASSERT_EQ(FirstVisibleLine(list), 20);

  char below[] = "line 030";
  EXPECT_EQ(ListSearchText(list, below, lcs_findfirst), LISTPLUGIN_OK);
  int start = static_cast<int>(SendMessageA(list, EM_LINEINDEX, 30, 0));
  EXPECT_EQ(Selection(list), std::make_pair(start, start + 8));
  EXPECT_EQ(FirstVisibleLine(list), 27);
  // Line 5 is in the text, but above the visible part.
  char above[] = "line 005";
  EXPECT_EQ(ListSearchText(list, above, lcs_findfirst), LISTPLUGIN_ERROR);
}

TEST_F(TextSearchTest, TheMatchEndsUpThreeLinesBelowTheTopWhereTheTextAllows) {
  HWND list = CreateRichEdit(NumberedText(100).c_str());
  ASSERT_NE(list, nullptr);
  const struct {
    int scrolledTo;
    int matchLine;
    int flags;
    int top;
  } cases[] = {{0, 0, lcs_findfirst, 0}, {0, 2, 0, 0},  {0, 3, 0, 0}, {0, 10, 0, 7},
               {0, 60, 0, 57},           {80, 10, 0, 7}};
  for (const auto& c : cases) {
    SendMessageA(list, EM_LINESCROLL, 0, c.scrolledTo - FirstVisibleLine(list));
    SendMessageA(list, EM_SETSEL, 0, 0);
    char word[16];
    snprintf(word, sizeof word, "line %03d", c.matchLine);
    EXPECT_EQ(ListSearchText(list, word, c.flags), LISTPLUGIN_OK) << word;
    EXPECT_EQ(FirstVisibleLine(list), c.top) << word << " from top " << c.scrolledTo;
  }
}

}  // namespace
