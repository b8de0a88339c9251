#include "sideviews/class_thumbnail.h"

#include <string>

#include "host/utf8_to_wide.h"
#include "sideviews/class_thumbnail_lines.h"

namespace {

HFONT ThumbnailFont(int pixels, bool bold) {
  return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH,
                     L"Arial");
}

void PaintGlance(HDC dc, const ClassGlance& glance, int width, int height,
                 const ThumbnailColours& colours) {
  ThumbnailMetrics metrics = ThumbnailMetricsFor(width, height);
  HBRUSH background = CreateSolidBrush(colours.background);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, background);
  DeleteObject(background);

  HFONT plain = ThumbnailFont(metrics.fontPixels, false);
  HFONT bold = ThumbnailFont(metrics.fontPixels, true);
  HGDIOBJ previousFont = SelectObject(dc, plain);
  SetBkMode(dc, TRANSPARENT);
  int top = metrics.margin;
  for (const ThumbnailLine& line : ClassThumbnailLines(glance, metrics.rows)) {
    COLORREF colour = colours.text;
    if (line.style == ThumbnailLineStyle::kHeading || line.style == ThumbnailLineStyle::kNested) {
      colour = colours.keyword;
    } else if (line.style == ThumbnailLineStyle::kSupertypes ||
               line.style == ThumbnailLineStyle::kMore) {
      colour = colours.comment;
    }
    SelectObject(dc, line.style == ThumbnailLineStyle::kHeading ? bold : plain);
    SetTextColor(dc, colour);
    // Each line in a box of its own height: a long one ends in "..." at the edge.
    RECT box = {metrics.margin, top, width - metrics.margin, top + metrics.linePixels};
    std::wstring text = WideFromUtf8(line.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_TOP | DT_LEFT);
    top += metrics.linePixels;
  }
  SelectObject(dc, previousFont);
  DeleteObject(bold);
  DeleteObject(plain);
}

}  // namespace

HBITMAP DrawClassThumbnail(const ClassGlance& glance, int width, int height,
                           const ThumbnailColours& colours) {
  HWND desktop = GetDesktopWindow();
  HDC screen = GetDC(desktop);
  HDC drawing = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(desktop, screen);
  if (drawing == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (drawing != nullptr) DeleteDC(drawing);
    return nullptr;
  }
  HGDIOBJ previous = SelectObject(drawing, bitmap);
  PaintGlance(drawing, glance, width, height, colours);
  SelectObject(drawing, previous);
  DeleteDC(drawing);
  return bitmap;
}
