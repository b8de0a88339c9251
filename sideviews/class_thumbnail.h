// A class file's thumbnail as its class: the kind and simple name, what it
// extends and implements, and as many members as fit, in the view's colours
// (class_thumbnail_lines.h chooses the lines). One DrawTextW call a line, at
// the thumbnail's own size: small text shrunk from a larger drawing blurs.
#pragma once

#include <windows.h>

#include "classfile/class_members.h"

struct ThumbnailColours {
  COLORREF background;
  COLORREF text;
  COLORREF keyword;  // the heading and the nested classes
  COLORREF comment;  // what it extends and implements, "+ N more"
};

// A bitmap of width by height that the caller owns; null when GDI has none.
HBITMAP DrawClassThumbnail(const ClassGlance& glance, int width, int height,
                           const ThumbnailColours& colours);
