#include "sideviews/class_thumbnail.h"

#include <string>

#include "sideviews/class_thumbnail_lines.h"
#include "sideviews/thumbnail.h"

namespace {

struct Drawing {
  const ClassGlance* glance;
  int width;
  int height;
  const ThumbnailColours* colours;
};

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
  }
  return wide;
}

HFONT ThumbnailFont(int pixels, bool bold) {
  return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH,
                     L"Arial");
}

// The surface is twice the thumbnail's size: every measure doubles.
void PaintGlance(HDC dc, const RECT& surface, int, const void* context) {
  const Drawing& d = *static_cast<const Drawing*>(context);
  ThumbnailMetrics metrics = ThumbnailMetricsFor(d.width, d.height);
  HBRUSH background = CreateSolidBrush(d.colours->background);
  RECT all = surface;
  FillRect(dc, &all, background);
  DeleteObject(background);

  HFONT plain = ThumbnailFont(2 * metrics.fontPixels, false);
  HFONT bold = ThumbnailFont(2 * metrics.fontPixels, true);
  HGDIOBJ previousFont = SelectObject(dc, plain);
  SetBkMode(dc, TRANSPARENT);
  int top = 2 * metrics.margin;
  for (const ThumbnailLine& line : ClassThumbnailLines(*d.glance, metrics.rows)) {
    COLORREF colour = d.colours->text;
    if (line.style == ThumbnailLineStyle::kHeading || line.style == ThumbnailLineStyle::kNested) {
      colour = d.colours->keyword;
    } else if (line.style == ThumbnailLineStyle::kSupertypes ||
               line.style == ThumbnailLineStyle::kMore) {
      colour = d.colours->comment;
    }
    SelectObject(dc, line.style == ThumbnailLineStyle::kHeading ? bold : plain);
    SetTextColor(dc, colour);
    // Each line in a box of its own height: a long one ends in "..." at the edge.
    RECT box = {2 * metrics.margin, top, surface.right - 2 * metrics.margin,
                top + 2 * metrics.linePixels};
    std::wstring text = Wide(line.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_TOP | DT_LEFT);
    top += 2 * metrics.linePixels;
  }
  SelectObject(dc, previousFont);
  DeleteObject(bold);
  DeleteObject(plain);
}

}  // namespace

HBITMAP DrawClassThumbnail(const ClassGlance& glance, int width, int height,
                           const ThumbnailColours& colours) {
  Drawing drawing = {&glance, width, height, &colours};
  return PaintThumbnail(width, height, &PaintGlance, &drawing);
}
