#include "sideviews/class_thumbnail_lines.h"

#include <algorithm>

namespace {

// The members in the thumbnail's order: what the class does before what it holds inside.
std::vector<const ClassMember*> MembersInOrder(const ClassGlance& glance) {
  std::vector<const ClassMember*> members;
  for (bool nested : {false, true}) {
    for (const ClassMember& member : glance.members) {
      if ((member.kind == MemberKind::kNested) == nested) members.push_back(&member);
    }
  }
  return members;
}

}  // namespace

ThumbnailMetrics ThumbnailMetricsFor(int width, int height) {
  ThumbnailMetrics metrics;
  int side = std::min(width, height);
  // Small thumbnails still get a legible font; large ones more lines, not larger letters.
  metrics.fontPixels = std::max(9, std::min(14, side / 12 + 3));
  metrics.linePixels = metrics.fontPixels + metrics.fontPixels / 4;
  metrics.margin = side >= 64 ? 3 : 1;
  metrics.rows = std::max(0, (height - 2 * metrics.margin) / metrics.linePixels);
  return metrics;
}

std::vector<ThumbnailLine> ClassThumbnailLines(const ClassGlance& glance, int rows) {
  std::vector<ThumbnailLine> lines;
  if (rows <= 0) return lines;
  std::vector<std::string> heading = ClassHeadingLines(glance);
  for (size_t i = 0; i < heading.size() && static_cast<int>(lines.size()) < rows; ++i) {
    lines.push_back(
        {heading[i], i == 0 ? ThumbnailLineStyle::kHeading : ThumbnailLineStyle::kSupertypes});
  }
  std::vector<const ClassMember*> members = MembersInOrder(glance);
  size_t room = static_cast<size_t>(rows) - lines.size();
  size_t shown = members.size() <= room ? members.size() : (room > 0 ? room - 1 : 0);
  for (size_t i = 0; i < shown; ++i) {
    lines.push_back({members[i]->label, members[i]->kind == MemberKind::kNested
                                            ? ThumbnailLineStyle::kNested
                                            : ThumbnailLineStyle::kMember});
  }
  if (shown < members.size() && room > 0) {
    lines.push_back(
        {"+ " + std::to_string(members.size() - shown) + " more", ThumbnailLineStyle::kMore});
  }
  return lines;
}
