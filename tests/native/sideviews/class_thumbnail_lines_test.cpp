// The thumbnail's lines: the heading, then as many members as fit (nested
// classes last), the last line counting those left out; the font grows with
// the thumbnail up to a limit and the lines never overrun its height.
#include "sideviews/class_thumbnail_lines.h"

#include <gtest/gtest.h>

namespace {

ClassGlance Sample() {
  ClassGlance glance;
  glance.kind = "final class";
  glance.name = "Maps";
  glance.superclass = "Base";
  auto add = [&](MemberKind kind, const char* label) {
    ClassMember member;
    member.kind = kind;
    member.label = label;
    glance.members.push_back(member);
  };
  add(MemberKind::kNested, "class Entry");
  add(MemberKind::kField, "size: int");
  add(MemberKind::kConstructor, "Maps()");
  add(MemberKind::kMethod, "get(Object)");
  return glance;
}

std::vector<std::string> Texts(const std::vector<ThumbnailLine>& lines) {
  std::vector<std::string> texts;
  for (const ThumbnailLine& line : lines) texts.push_back(line.text);
  return texts;
}

TEST(ClassThumbnailLinesTest, AsManyMembersAsFitThenHowManyMore) {
  const ClassGlance glance = Sample();
  EXPECT_EQ(Texts(ClassThumbnailLines(glance, 10)),
            std::vector<std::string>({"final class Maps", "extends Base", "size: int", "Maps()",
                                      "get(Object)", "class Entry"}));
  EXPECT_EQ(Texts(ClassThumbnailLines(glance, 6)), Texts(ClassThumbnailLines(glance, 10)));
  EXPECT_EQ(Texts(ClassThumbnailLines(glance, 5)),
            std::vector<std::string>(
                {"final class Maps", "extends Base", "size: int", "Maps()", "+ 2 more"}));
  EXPECT_EQ(Texts(ClassThumbnailLines(glance, 3)),
            std::vector<std::string>({"final class Maps", "extends Base", "+ 4 more"}));
  EXPECT_EQ(Texts(ClassThumbnailLines(glance, 1)), std::vector<std::string>({"final class Maps"}));
  EXPECT_TRUE(ClassThumbnailLines(glance, 0).empty());
  std::vector<ThumbnailLine> lines = ClassThumbnailLines(glance, 10);
  EXPECT_EQ(lines[0].style, ThumbnailLineStyle::kHeading);
  EXPECT_EQ(lines[1].style, ThumbnailLineStyle::kSupertypes);
  EXPECT_EQ(lines[5].style, ThumbnailLineStyle::kNested);
  EXPECT_EQ(ClassThumbnailLines(glance, 5)[4].style, ThumbnailLineStyle::kMore);
}

TEST(ClassThumbnailLinesTest, TheFontFollowsTheSizeAndTheLinesFit) {
  int previous = 0;
  for (int side : {32, 96, 150, 200, 256, 600}) {
    ThumbnailMetrics metrics = ThumbnailMetricsFor(side, side);
    EXPECT_GE(metrics.fontPixels, previous) << side;
    EXPECT_GE(metrics.fontPixels, 9) << side;
    EXPECT_LE(metrics.fontPixels, 14) << side;
    EXPECT_GT(metrics.linePixels, metrics.fontPixels) << side;
    EXPECT_LE(2 * metrics.margin + metrics.rows * metrics.linePixels, side) << side;
    previous = metrics.fontPixels;
  }
  EXPECT_LT(ThumbnailMetricsFor(96, 96).fontPixels, ThumbnailMetricsFor(256, 256).fontPixels);
  EXPECT_GE(ThumbnailMetricsFor(96, 96).rows, 6);
  // A wide, low thumbnail takes its font from its height.
  EXPECT_EQ(ThumbnailMetricsFor(400, 96).fontPixels, ThumbnailMetricsFor(96, 96).fontPixels);
}

}  // namespace
