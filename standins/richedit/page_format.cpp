// EM_FORMATRANGE: one page of the text measured or drawn into a device
// context, whole lines from the top of the rectangle down, paragraphs wider
// than the rectangle broken into several lines.
#include <algorithm>

#include "standins/richedit/control.h"

namespace richedit {

namespace {

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

int DeviceDpi(HDC dc, int index) {
  const int dpi = GetDeviceCaps(dc, index);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int RichEditControl::FormatRange(bool render, FORMATRANGE* range) {
  if (range == nullptr) {
    // Rich edit answers the text length, having dropped what it kept for the printer.
    print_fonts_.Clear();
    return doc_.length();
  }
  HDC dc = range->hdc != nullptr ? range->hdc : range->hdcTarget;
  if (dc == nullptr) return 0;
  const int dpi_x = DeviceDpi(dc, LOGPIXELSX);
  const int dpi_y = DeviceDpi(dc, LOGPIXELSY);
  // Every rich-edit text ends with a paragraph mark that belongs to the page
  // on which the last line stands.
  const int total = doc_.length() + 1;
  const int start = std::max(0, static_cast<int>(range->chrg.cpMin));
  const int limit = (range->chrg.cpMax < 0 || range->chrg.cpMax > total)
                        ? total
                        : static_cast<int>(range->chrg.cpMax);
  const int left = TwipsToPixels(range->rc.left, dpi_x);
  const int top = TwipsToPixels(range->rc.top, dpi_y);
  const int right = TwipsToPixels(range->rc.right, dpi_x);
  const int bottom = TwipsToPixels(range->rc.bottom, dpi_y);

  // Device pixels throughout; the caller's mapping mode, font and clipping come
  // back with the DC's saved state.
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  if (render) IntersectClipRect(dc, left, top, right, bottom);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  LineLayout layout(dc, &print_fonts_, doc_, runs_, dpi_x, dpi_y);
  const wchar_t* chars = doc_.text().data();
  const int width = std::max(1, right - left);
  int position = start;
  int y = top;
  while (position < limit) {
    const int line = doc_.LineFromPosition(std::min(position, doc_.length()));
    const int line_end = doc_.LineEnd(line);
    // A paragraph wider than the page goes on in the lines below it.
    const int piece_end = layout.WrapEnd(position, std::min(line_end, limit), width);
    const LineMetrics metrics = layout.Measure(position, piece_end);
    if (y + metrics.height > bottom) break;
    if (render) {
      const int baseline = y + metrics.ascent;
      layout.Walk(position, piece_end, left, -1, -1,
                  [&](int p, int q, int x, int, int format, const FontMetrics&) {
                    if (chars[p] == L'\t') return;
                    const CharFormat& f = runs_.Get(format);
                    SetTextColor(
                        dc, (f.effects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : f.color);
                    TextOutW(dc, x, baseline, chars + p, q - p);
                  });
    }
    y += metrics.height;
    // The paragraph mark goes with the paragraph's last line.
    position = piece_end < line_end ? piece_end : std::min(line_end + 1, limit);
  }
  RestoreDC(dc, saved);
  range->rc.bottom = range->rc.top + MulDiv(y - top, 1440, dpi_y);
  return position;
}

}  // namespace richedit
