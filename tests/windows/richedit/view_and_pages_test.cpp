// What shows: scrolling limits, the EN_UPDATE report, painting, and page
// formatting with EM_FORMATRANGE.
#include <cstring>
#include <string>

#include "tests/windows/richedit/richedit_fixture.h"

namespace {

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    char line[16];
    snprintf(line, sizeof line, "line%02d\r\n", i);  // 6 characters and a break
    text += line;
  }
  text.resize(text.size() - 2);
  return text;
}

class ViewTest : public RichEditTest {
 protected:
  void SetUp() override {
    RichEditTest::SetUp();
    ASSERT_NE(Create(), nullptr);
    Send(EM_SETEVENTMASK, 0, ENM_UPDATE);
  }
  int FirstVisible() const { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)); }
};

TEST_F(ViewTest, ScrollingMovesWholeLinesAndStopsWithTheLastLineAtTheBottom) {
  SetText(NumberedLines(100).c_str());
  POINTL line0 = {}, line1 = {};
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line0), 0);
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&line1), 7);
  const int line_height = line1.y - line0.y;
  ASSERT_GT(line_height, 0);
  RECT client;
  GetClientRect(control_, &client);
  const int last_top = 100 - client.bottom / line_height;
  ASSERT_GT(last_top, 50);
  const int steps[][2] = {{10, 10},         {-3, 7},       {-100, 0},
                          {1000, last_top}, {1, last_top}, {-1, last_top - 1}};
  for (const auto& step : steps) {
    EXPECT_EQ(Send(EM_LINESCROLL, 0, step[0]), TRUE);
    EXPECT_EQ(FirstVisible(), step[1]) << "after " << step[0];
  }
  // Positions on screen follow the first visible line.
  POINTL top = {};
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), (last_top - 1) * 7);
  EXPECT_EQ(top.y, 0);
  // New text starts again at the top; a text that fits does not scroll.
  SetText("one\rtwo");
  EXPECT_EQ(FirstVisible(), 0);
  Send(EM_LINESCROLL, 0, 5);
  EXPECT_EQ(FirstVisible(), 0);
}

TEST_F(ViewTest, UpdatesAreReportedOnlyWhileVisibleAndAsked) {
  SetText(NumberedLines(50).c_str());
  Send(EM_LINESCROLL, 0, 5);
  EXPECT_EQ(UpdateCount(), 0) << "hidden";
  Show();
  const int after_show = UpdateCount();
  Send(EM_LINESCROLL, 0, 5);
  EXPECT_GT(UpdateCount(), after_show);
  const int after_scroll = UpdateCount();
  Send(EM_SETSEL, 0, 3);
  EXPECT_GT(UpdateCount(), after_scroll);
  EXPECT_EQ(Send(EM_SETEVENTMASK, 0, 0), ENM_UPDATE);
  const int before_unmasked = UpdateCount();
  Send(EM_LINESCROLL, 0, 5);
  EXPECT_EQ(UpdateCount(), before_unmasked);
}

TEST_F(ViewTest, PaintingDrawsTheTextBehindTheMargin) {
  SetText("MMMMMMMM\r\nMMMMMMMM");
  Send(EM_SETMARGINS, EC_LEFTMARGIN, 8);
  Show();
  UpdateWindow(control_);
  HDC dc = GetDC(control_);
  ASSERT_NE(dc, nullptr);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  int inked = 0, inked_in_margin = 0;
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 12; ++y) {
      if (GetPixel(dc, x, y) != window) (x < 8 ? inked_in_margin : inked)++;
    }
  }
  ReleaseDC(control_, dc);
  EXPECT_GT(inked, 0);
  EXPECT_EQ(inked_in_margin, 0);
}

TEST_F(ViewTest, ScrollBarAndScrollMessagesFollowTheView) {
  SetText(NumberedLines(100).c_str());
  Show();
  UpdateWindow(control_);
  Send(EM_LINESCROLL, 0, 10);
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(control_, SB_VERT, &info));
  EXPECT_EQ(info.nPos, 10);
  EXPECT_EQ(info.nMax, 99);
  const int page = static_cast<int>(info.nPage);
  ASSERT_GT(page, 1);
  Send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(FirstVisible(), 10 + page);
  Send(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(FirstVisible(), 9 + page);
  Send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(FirstVisible(), 100 - page);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
  EXPECT_EQ(FirstVisible(), 97 - page);
  Send(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(FirstVisible(), 0);
}

class InputTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    CHARFORMAT2A mono;
    memset(&mono, 0, sizeof mono);
    mono.cbSize = sizeof mono;
    mono.dwMask = CFM_FACE;
    strcpy(mono.szFaceName, "Courier New");
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&mono));
    SetText("first line\r\nsecond\r\nthird line here");
    Show();
    SetFocus(control_);
  }
  // A key pressed with the given modifiers held.
  void Key(WPARAM key, bool shift = false, bool control = false) {
    BYTE state[256] = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    Send(WM_KEYDOWN, key);
    BYTE released[256] = {};
    SetKeyboardState(released);
  }
  LPARAM PointOf(int position) {
    POINTL point = {};
    Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
    return MAKELPARAM(point.x, point.y + 2);
  }
};

TEST_F(InputTest, KeysMoveTheCaretAndShiftSelects) {
  Select(0, 0);
  struct Step {
    WPARAM key;
    bool shift, control;
    int start, end;
  } steps[] = {
      {VK_RIGHT, false, false, 1, 1},  {VK_RIGHT, false, true, 6, 6},
      {VK_END, false, false, 10, 10},  {VK_DOWN, false, false, 17, 17},
      {VK_HOME, false, false, 11, 11}, {VK_LEFT, true, false, 10, 11},
      {VK_LEFT, false, false, 10, 10}, {VK_END, false, true, 33, 33},
      {VK_HOME, true, true, 0, 33},    {VK_UP, false, false, 0, 0},
      {'A', false, true, 0, 34},
  };
  for (const Step& step : steps) {
    Key(step.key, step.shift, step.control);
    EXPECT_EQ(Selection(), std::make_pair(step.start, step.end)) << "key " << step.key;
  }
}

// A surrogate pair is one character to the keys.
TEST_F(InputTest, KeysStepOverASurrogatePairWhole) {
  DestroyWindow(control_);
  ASSERT_NE(Create(0x40300904, true), nullptr);
  SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a\U0001F600b"));
  Show();
  SetFocus(control_);
  Select(1, 1);
  Key(VK_RIGHT);
  EXPECT_EQ(Selection(), std::make_pair(3, 3));
  Key(VK_LEFT, true);
  EXPECT_EQ(Selection(), std::make_pair(1, 3));
}

TEST_F(InputTest, ClickPlacesTheCaretAndDraggingOrShiftClickSelects) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, PointOf(3));
  EXPECT_EQ(Selection(), std::make_pair(3, 3));
  Send(WM_MOUSEMOVE, MK_LBUTTON, PointOf(14));
  Send(WM_LBUTTONUP, 0, PointOf(14));
  EXPECT_EQ(Selection(), std::make_pair(3, 14));
  Send(WM_MOUSEMOVE, 0, PointOf(20));  // no button: nothing changes
  EXPECT_EQ(Selection(), std::make_pair(3, 14));
  Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, PointOf(20));
  Send(WM_LBUTTONUP, 0, PointOf(20));
  EXPECT_EQ(Selection(), std::make_pair(3, 20));
}

class PageTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    bitmap_ = CreateCompatibleBitmap(GetDC(nullptr), 400, 400);
    old_ = SelectObject(dc_, bitmap_);
    CHARFORMAT2A base;
    memset(&base, 0, sizeof base);
    base.cbSize = sizeof base;
    base.dwMask = CFM_FACE | CFM_SIZE;
    base.yHeight = 200;
    strcpy(base.szFaceName, "Courier New");
    Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    ViewTest::TearDown();
  }
  // One page from `from`, the rectangle `height` twips tall; the result and
  // the height the control reports as used.
  std::pair<int, int> Page(bool render, int from, int height, int to = -1) {
    FORMATRANGE range = {};
    range.hdc = range.hdcTarget = dc_;
    range.rc = {0, 0, 5000, height};
    range.rcPage = range.rc;
    range.chrg = {from, to};
    const int next =
        static_cast<int>(Send(EM_FORMATRANGE, render ? 1 : 0, reinterpret_cast<LPARAM>(&range)));
    return {next, static_cast<int>(range.rc.bottom)};
  }
  int InkedPixels() {
    int inked = 0;
    for (int y = 0; y < 200; y += 1)
      for (int x = 0; x < 100; x += 1) inked += GetPixel(dc_, x, y) != RGB(255, 255, 255) ? 1 : 0;
    return inked;
  }
  void Clear() {
    RECT all = {0, 0, 400, 400};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_F(PageTest, TheFinalParagraphMarkCounts) {
  SetText("a");
  EXPECT_EQ(Page(false, 0, 10000).first, 2);
  SetText("");
  EXPECT_EQ(Page(false, 0, 10000).first, 1);
  EXPECT_EQ(Send(EM_FORMATRANGE, 0, 0), 0);  // drops cached formatting
}

TEST_F(PageTest, PagesEndAfterTheLastWholeLineThatFits) {
  SetText(NumberedLines(10).c_str());  // 10 lines of 7 positions, 69 characters
  const auto all = Page(false, 0, 100000);
  ASSERT_EQ(all.first, 70);
  const int line_twips = all.second / 10;
  ASSERT_GT(line_twips, 0);
  // A page three and a half lines tall takes three lines: 0-20, 21-41, 42-62, 63-69.
  const int page = line_twips * 7 / 2;
  const int expected[] = {21, 42, 63, 70};
  int from = 0;
  for (int next : expected) {
    const auto result = Page(false, from, page);
    EXPECT_EQ(result.first, next) << "page from " << from;
    EXPECT_LE(result.second, page);
    from = result.first;
  }
  EXPECT_EQ(Page(false, 63, page).second, line_twips) << "one line used on the last page";
  // A page too short for one line takes nothing; a range end stops the page.
  EXPECT_EQ(Page(false, 7, line_twips / 2).first, 7);
  EXPECT_EQ(Page(false, 0, 100000, 10).first, 10);
  EXPECT_EQ(Page(false, 70, 100000).first, 70);
}

TEST_F(PageTest, OnlyRenderingDraws) {
  SetText("MMMM\r\nMMMM");
  Clear();
  Page(false, 0, 100000);
  EXPECT_EQ(InkedPixels(), 0);
  // Whatever the DC's mapping mode, the page lands on device pixels, and the
  // DC comes back as it was given.
  SetMapMode(dc_, MM_LOMETRIC);
  HGDIOBJ font = GetCurrentObject(dc_, OBJ_FONT);
  Page(true, 0, 100000);
  EXPECT_EQ(GetMapMode(dc_), MM_LOMETRIC);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font);
  SetMapMode(dc_, MM_TEXT);
  EXPECT_GT(InkedPixels(), 0);
}

}  // namespace
