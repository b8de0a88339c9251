// The contrast formula against known WCAG values, and the dark palette against
// its background.
#include "presentation/colour_contrast.h"

#include <gtest/gtest.h>

#include "presentation/palette_colours.h"

namespace {

TEST(ColourContrastTest, MatchesKnownValuesWhicheverColourComesFirst) {
  const uint32_t white = PaletteRgb(255, 255, 255);
  const uint32_t black = PaletteRgb(0, 0, 0);
  EXPECT_DOUBLE_EQ(RelativeLuminance(white), 1.0);
  EXPECT_DOUBLE_EQ(RelativeLuminance(black), 0.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(white, black), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(white, white), 1.0);
  // #777777 on white is the well-known near miss of 4.5:1; #767676 passes.
  EXPECT_NEAR(ContrastRatio(PaletteRgb(0x77, 0x77, 0x77), white), 4.48, 0.005);
  EXPECT_NEAR(ContrastRatio(PaletteRgb(0x76, 0x76, 0x76), white), 4.54, 0.005);
  // The channels are weighted by where they sit: pure red, green and blue on black.
  EXPECT_NEAR(ContrastRatio(PaletteRgb(255, 0, 0), black), 5.25, 0.005);
  EXPECT_NEAR(ContrastRatio(PaletteRgb(0, 255, 0), black), 15.3, 0.005);
  EXPECT_NEAR(ContrastRatio(PaletteRgb(0, 0, 255), black), 2.44, 0.005);
}

TEST(ColourContrastTest, EveryDarkColourStandsOutFromTheDarkBackground) {
  const struct {
    const char* name;
    uint32_t colour;
  } colours[] = {
      {"text", DarkColours.text},       {"keyword", DarkColours.keyword},
      {"literal", DarkColours.literal}, {"comment", DarkColours.comment},
      {"banner", DarkColours.banner},
  };
  EXPECT_LT(RelativeLuminance(DarkColours.background), 0.05) << "a dark background";
  for (const auto& c : colours) {
    EXPECT_GE(ContrastRatio(c.colour, DarkColours.background), 4.5) << c.name;
  }
}

}  // namespace
