// What a class file's thumbnail says, line by line, and how large: no Win32
// call, so the choice of lines is tested natively. The font follows the
// thumbnail's size, and as many members as fit come after the heading, the
// last line telling how many more there are.
#pragma once

#include <string>
#include <vector>

#include "classfile/class_members.h"

enum class ThumbnailLineStyle { kHeading, kSupertypes, kMember, kNested, kMore };

struct ThumbnailLine {
  std::string text;  // UTF-8
  ThumbnailLineStyle style;
};

// The font's and a line's height in pixels of the finished thumbnail, and
// how many lines fit its height below a margin.
struct ThumbnailMetrics {
  int fontPixels;
  int linePixels;
  int margin;
  int rows;
};
ThumbnailMetrics ThumbnailMetricsFor(int width, int height);

// At most rows lines: the heading, then fields, constructors, methods and
// last the nested classes, as the glance lists them. When not all fit, the
// last line is "+ N more" (N the members left out). The heading alone is cut
// short only when rows cannot hold it.
std::vector<ThumbnailLine> ClassThumbnailLines(const ClassGlance& glance, int rows);
