// Placing the printed text: start, extent and the twips rectangle, worked out
// by hand for an A4 printer at 300 dpi (2480 x 3508 pixels, 210 x 297 mm).
#include "sideviews/print_rectangle.h"

#include <gtest/gtest.h>
#include <limits.h>

namespace {

// The sheet in MM_LOMETRIC units (0.1 mm, downward negative).
const PrintPoint kPaper = {2100, -2970};
// A printer with an unprintable strip of 50 pixels (4.2 mm) on every side.
const PrintPoint kStrip = {42, -42};
const PrintPoint kStripPrintable = {2016, -2886};
// A printer that reaches the very edge.
const PrintPoint kNoStrip = {0, 0};

TEST(PlacePrintArea, StartSkipsTheStripAndTheExtentIsTheSmallerOfMarginsAndPrintableArea) {
  const struct {
    const char* what;
    PrintMargins margins;
    PrintPoint offset;
    PrintPoint printable;
    PrintPoint start;
    PrintPoint extent;
  } cases[] = {
      {"margins of 10 mm beyond a strip of 4.2 mm",
       {100, 100, 100, 100},
       kStrip,
       kStripPrintable,
       {58, -58},
       {1900, -2770}},
      {"margins inside the strip start at the corner of the printable area",
       {20, 30, 20, 30},
       kStrip,
       kStripPrintable,
       {0, 0},
       {2016, -2886}},
      {"margins as wide as the strip",
       {42, 42, 42, 42},
       kStrip,
       kStripPrintable,
       {0, 0},
       {2016, -2886}},
      {"no right or bottom margin: cut to what the printable area holds beyond the start",
       {100, 100, 0, 0},
       kStrip,
       kStripPrintable,
       {58, -58},
       {1958, -2828}},
      {"no margins at all", {0, 0, 0, 0}, kStrip, kStripPrintable, {0, 0}, {2016, -2886}},
      {"no strip: margins measured from the paper edge",
       {250, 200, 150, 100},
       kNoStrip,
       kPaper,
       {250, -200},
       {1700, -2670}},
      {"margins wider than the paper leave a negative extent",
       {1500, 100, 1500, 100},
       kNoStrip,
       kPaper,
       {1500, -100},
       {-900, -2770}},
      {"negative margins count as none at the start but widen the paper",
       {-50, -50, 0, 0},
       kNoStrip,
       kPaper,
       {0, 0},
       {2100, -2970}},
  };
  for (const auto& c : cases) {
    PrintArea area = PlacePrintArea(c.margins, c.offset, kPaper, c.printable);
    EXPECT_EQ(area.start.x, c.start.x) << c.what;
    EXPECT_EQ(area.start.y, c.start.y) << c.what;
    EXPECT_EQ(area.extent.x, c.extent.x) << c.what;
    EXPECT_EQ(area.extent.y, c.extent.y) << c.what;
  }
}

TEST(PlacePrintArea, ExtremeMarginsFromTheHostDoNotOverflow) {
  // Under UBSan an overflowing signed sum fails the test by itself.
  PrintArea low =
      PlacePrintArea({INT_MIN, INT_MIN, INT_MIN, INT_MIN}, kStrip, kPaper, kStripPrintable);
  EXPECT_EQ(low.start.x, 0);
  EXPECT_EQ(low.start.y, 0);
  EXPECT_EQ(low.extent.x, 2016);
  EXPECT_EQ(low.extent.y, -2886);
  PrintArea high =
      PlacePrintArea({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, kStrip, kPaper, kStripPrintable);
  EXPECT_EQ(high.start.x, INT_MAX - 42);
  EXPECT_EQ(high.start.y, -(INT_MAX - 42));
  EXPECT_EQ(high.extent.x, INT_MIN);
  EXPECT_EQ(high.extent.y, INT_MAX);
}

TEST(ConvertToTwips, ProductThenDivisionTruncatedTowardZero) {
  const struct {
    const char* what;
    PrintPoint start;
    PrintPoint extent;
    int dpiX;
    int dpiY;
    TwipsRect twips;
  } cases[] = {
      // 10 mm margins on A4 at 300 dpi: 118 pixels in, 2244 x 3272 pixels of text.
      {"A4 at 300 dpi", {118, 118}, {2244, 3272}, 300, 300, {566, 566, 11337, 16272}},
      {"the whole printable area from its corner",
       {0, 0},
       {2380, 3408},
       300,
       300,
       {0, 0, 11424, 16358}},
      {"different resolutions across and down",
       {100, 100},
       {1000, 2000},
       300,
       600,
       {480, 240, 5280, 5040}},
      {"negative values truncate toward zero", {-1, -1}, {-1, 0}, 300, 300, {-4, -4, -9, -4}},
      {"a device without a resolution gives an empty rectangle",
       {118, 118},
       {2244, 3272},
       0,
       0,
       {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TwipsRect r = ConvertToTwips(c.start, c.extent, c.dpiX, c.dpiY);
    EXPECT_EQ(r.left, c.twips.left) << c.what;
    EXPECT_EQ(r.top, c.twips.top) << c.what;
    EXPECT_EQ(r.right, c.twips.right) << c.what;
    EXPECT_EQ(r.bottom, c.twips.bottom) << c.what;
  }
}

TEST(ConvertToTwips, LargePixelCountsDoNotOverflowTheProduct) {
  TwipsRect r = ConvertToTwips({INT_MAX, 0}, {INT_MAX, 1000000}, 1, 1440);
  EXPECT_EQ(r.left, INT_MAX);
  EXPECT_EQ(r.right, INT_MAX);
  EXPECT_EQ(r.bottom, 1000000);
}

}  // namespace
