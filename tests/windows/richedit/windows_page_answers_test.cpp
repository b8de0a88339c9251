// Windows' answers for page formatting (EM_FORMATRANGE) into the control's own
// window DC, whose font is the control's default one.
#include <cstring>

#include "tests/windows/richedit/windows_answers_fixture.h"

namespace {

class PageAnswers : public WindowsAnswersTest {
 protected:
  void SetUp() override {
    WindowsAnswersTest::SetUp();
    dc_ = GetDC(control_);
    ASSERT_NE(dc_, nullptr);
    twips_x_ = 1440 / GetDeviceCaps(dc_, LOGPIXELSX);
    twips_y_ = 1440 / GetDeviceCaps(dc_, LOGPIXELSY);
    memset(&range_, 0, sizeof range_);
    range_.hdc = range_.hdcTarget = dc_;
    range_.chrg = {0, -1};
  }
  void TearDown() override {
    if (dc_ != nullptr) ReleaseDC(control_, dc_);
    WindowsAnswersTest::TearDown();
  }
  void PageOf(int width, int height) {
    range_.rc = {0, 0, width * twips_x_, height * twips_y_};
    range_.rcPage = range_.rc;
  }
  int Format(BOOL render, FORMATRANGE* range) const {
    return static_cast<int>(Send(EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(range)));
  }
  HDC dc_ = nullptr;
  int twips_x_ = 15;
  int twips_y_ = 15;
  FORMATRANGE range_;
};

// test_EM_FORMATRANGE: the final paragraph mark counts; no record answers the
// text length; a line wider than the page goes on on the next one, so a page of
// half the text's width and one line's height holds less than the text.
TEST_F(PageAnswers, PagesCountTheFinalMarkAndWrapWideLines) {
  PageOf(500, 500);
  SetText("a");
  EXPECT_EQ(Format(FALSE, &range_), 2);
  SetText("ab");
  EXPECT_EQ(Format(FALSE, &range_), 3);
  EXPECT_EQ(Format(FALSE, nullptr), 2);

  const struct {
    const char* text;
    int first, second;  // where the first two pages end; 0: only before the end
  } cases[] = {
      {"WINE wine", 0, 0},
      {"WINE wineWine", 0, 0},
      {"WINE\r\nwine\r\nwine", 5, 10},
      {"WINE\r\nWINEwine\r\nWINEwine", 5, 14},
      {"WINE\r\n\r\nwine\r\nwine", 5, 6},
  };
  for (const auto& c : cases) {
    SetText(c.text);
    GETTEXTLENGTHEX how = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    const int length = static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how)));
    SIZE size;
    GetTextExtentPoint32A(dc_, c.text, static_cast<int>(strlen(c.text)), &size);
    PageOf(size.cx / 2, size.cy + 10);
    EXPECT_EQ(Format(TRUE, nullptr), length) << c.text;
    range_.chrg.cpMin = 0;
    const int first = Format(TRUE, &range_);
    EXPECT_EQ(range_.rc.bottom, size.cy * twips_y_) << c.text << ": one line's height used";
    if (c.first != 0) {
      EXPECT_EQ(first, c.first) << c.text;
    } else {
      EXPECT_LT(first, length) << c.text;
    }
    range_.chrg.cpMin = first;
    const int second = Format(TRUE, &range_);
    if (c.second != 0) {
      EXPECT_EQ(second, c.second) << c.text;
    } else {
      EXPECT_LT(second, length) << c.text;
    }
    EXPECT_EQ(Format(TRUE, nullptr), length) << c.text;
  }
}

}  // namespace
