// Character formats: styling ranges that overlap, reading them back with the
// mask bits that say which attributes are uniform, and the format that
// inserted and replaced text takes.
#include <cstring>

#include "tests/windows/richedit/richedit_fixture.h"

namespace {

CHARFORMAT2A Format(DWORD mask, DWORD effects, COLORREF color, const char* face = "") {
  CHARFORMAT2A f;
  memset(&f, 0, sizeof f);
  f.cbSize = sizeof f;
  f.dwMask = mask;
  f.dwEffects = effects;
  f.crTextColor = color;
  f.bCharSet = DEFAULT_CHARSET;
  strncpy(f.szFaceName, face, sizeof f.szFaceName - 1);
  return f;
}

class FormatTest : public RichEditTest {
 protected:
  void SetUp() override {
    RichEditTest::SetUp();
    ASSERT_NE(Create(), nullptr);
  }
  void Style(int min, int max, const CHARFORMAT2A& f) {
    Select(min, max);
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
  }
  CHARFORMAT2A Read(int min, int max) {
    Select(min, max);
    CHARFORMAT2A f;
    memset(&f, 0, sizeof f);
    f.cbSize = sizeof f;
    Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    return f;
  }
  const COLORREF red_ = RGB(200, 0, 0);
  const COLORREF blue_ = RGB(0, 0, 192);
};

TEST_F(FormatTest, OverlappingStylesLeaveTheLaterOnTopAndMasksShowMixedRanges) {
  SetText("0123456789");
  CHARFORMAT2A base = Format(CFM_FACE | CFM_CHARSET | CFM_BOLD, 0, 0, "Courier New");
  EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base)), 1);
  Style(2, 6, Format(CFM_BOLD | CFM_COLOR, CFE_BOLD, red_));
  Style(4, 8, Format(CFM_COLOR, 0, blue_));  // colour only: bold stays where it was

  struct Expected {
    int min, max;
    bool bold;
    COLORREF color;  // CLR_INVALID: automatic colour
  } uniform[] = {
      {0, 2, false, CLR_INVALID},    {2, 4, true, RGB(200, 0, 0)}, {4, 6, true, RGB(0, 0, 192)},
      {6, 8, false, RGB(0, 0, 192)}, {8, 10, false, CLR_INVALID},
  };
  for (const Expected& e : uniform) {
    const CHARFORMAT2A f = Read(e.min, e.max);
    const DWORD all = CFM_FACE | CFM_BOLD | CFM_COLOR | CFM_CHARSET | CFM_SIZE;
    EXPECT_EQ(f.dwMask & all, all) << e.min;
    EXPECT_STREQ(f.szFaceName, "Courier New") << e.min;
    EXPECT_EQ((f.dwEffects & CFE_BOLD) != 0, e.bold) << e.min;
    if (e.color == CLR_INVALID) {
      EXPECT_NE(f.dwEffects & CFE_AUTOCOLOR, 0u) << e.min;
    } else {
      EXPECT_EQ(f.dwEffects & CFE_AUTOCOLOR, 0u) << e.min;
      EXPECT_EQ(f.crTextColor, e.color) << e.min;
    }
  }
  // Across runs, the bits of the attributes that differ are cleared.
  CHARFORMAT2A f = Read(3, 5);  // bold red, then bold blue
  EXPECT_NE(f.dwMask & CFM_BOLD, 0u);
  EXPECT_EQ(f.dwMask & CFM_COLOR, 0u);
  f = Read(1, 3);  // plain automatic, then bold red
  EXPECT_EQ(f.dwMask & (CFM_BOLD | CFM_COLOR), 0u);
  EXPECT_NE(f.dwMask & CFM_FACE, 0u);
  f = Read(0, 10);
  EXPECT_EQ(f.dwMask & (CFM_BOLD | CFM_COLOR), 0u);
  EXPECT_NE(f.dwMask & (CFM_FACE | CFM_SIZE), 0u);
}

TEST_F(FormatTest, ManyAdjacentStylesKeepTheirOwnRanges) {
  std::string text(300, 'x');
  SetText(text.c_str());
  for (int i = 0; i < 300; i += 3) {
    Style(i, i + 2, Format(CFM_COLOR, 0, RGB(i % 256, 0, 0)));
  }
  for (int i = 0; i < 300; i += 3) {
    CHARFORMAT2A f = Read(i, i + 2);
    ASSERT_NE(f.dwMask & CFM_COLOR, 0u) << i;
    EXPECT_EQ(f.crTextColor, RGB(i % 256, 0, 0)) << i;
    f = Read(i + 2, i + 3);
    EXPECT_NE(f.dwEffects & CFE_AUTOCOLOR, 0u) << i;
  }
}

TEST_F(FormatTest, InsertedTextTakesTheFormatAroundIt) {
  SetText("keyword rest");
  CHARFORMAT2A base = Format(CFM_FACE | CFM_BOLD, 0, 0, "Courier New");
  Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));
  Style(0, 7, Format(CFM_BOLD | CFM_COLOR, CFE_BOLD, red_));
  // At the start of a paragraph: the format of the character after the caret.
  Select(0, 0);
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("top\r\n"));
  CHARFORMAT2A f = Read(0, 4);
  EXPECT_NE(f.dwEffects & CFE_BOLD, 0u);
  EXPECT_EQ(f.crTextColor, red_);
  // Inside a paragraph: the format of the character before it.
  Select(12, 12);  // after "keyword" + blank, within " rest"
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("ins"));
  f = Read(12, 15);
  EXPECT_EQ(f.dwEffects & CFE_BOLD, 0u);
  // A format set on an empty selection applies to what is inserted there.
  Select(4, 4);
  CHARFORMAT2A blue = Format(CFM_COLOR | CFM_BOLD, 0, blue_);
  Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&blue));
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("B"));
  f = Read(4, 5);
  EXPECT_EQ(f.crTextColor, blue_);
  EXPECT_EQ(f.dwEffects & CFE_BOLD, 0u);
  f = Read(5, 6);
  EXPECT_EQ(f.crTextColor, red_);
}

TEST_F(FormatTest, NewTextStartsInTheDefaultFormat) {
  SetText("first");
  const std::string initial_face = Read(0, 5).szFaceName;
  CHARFORMAT2A base = Format(CFM_FACE | CFM_CHARSET, 0, 0, "Courier New");
  Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));
  SetText("second\r\nthird");
  EXPECT_EQ(Read(0, 12).szFaceName, initial_face);
  // A new default format is what the next text gets.
  Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
  SetText("fourth");
  EXPECT_STREQ(Read(0, 6).szFaceName, "Courier New");
}

TEST_F(FormatTest, RecordsOfAWrongSizeAreRefused) {
  SetText("abc");
  CHARFORMAT2A f = Format(CFM_BOLD, CFE_BOLD, 0);
  f.cbSize = 10;
  EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&f)), 0);
  EXPECT_EQ(Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f)), 0);
  // The short CHARFORMATA record is accepted.
  CHARFORMATA small;
  memset(&small, 0, sizeof small);
  small.cbSize = sizeof small;
  small.dwMask = CFM_BOLD;
  small.dwEffects = CFE_BOLD;
  EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&small)), 1);
  EXPECT_NE(Read(0, 3).dwEffects & CFE_BOLD, 0u);
}

}  // namespace
