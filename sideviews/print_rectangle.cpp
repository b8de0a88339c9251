#include "sideviews/print_rectangle.h"

#include <stdint.h>

namespace {

// The arithmetic is that of signed 32-bit values; a wider intermediate keeps
// extreme margins from overflowing, and the result is held to the 32-bit range.
int NarrowToInt(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}

int64_t Smaller(int64_t a, int64_t b) { return a < b ? a : b; }
int64_t Larger(int64_t a, int64_t b) { return a > b ? a : b; }

int TwipsFromPixels(int64_t pixels, int dpi) {
  if (dpi == 0) return 0;
  return NarrowToInt(pixels * 1440 / dpi);
}

}  // namespace

PrintArea PlacePrintArea(const PrintMargins& margins, PrintPoint offset, PrintPoint paper,
                         PrintPoint printable) {
  // Across, values grow to the right; down, they grow more negative.
  int64_t startX = Larger(int64_t{margins.left} - offset.x, 0);
  int64_t startY = Smaller(-int64_t{margins.top} - offset.y, 0);
  int64_t extentX = Smaller(int64_t{paper.x} - margins.left - margins.right, printable.x - startX);
  int64_t extentY = Larger(int64_t{paper.y} + margins.top + margins.bottom, printable.y - startY);
  PrintArea area;
  area.start = {NarrowToInt(startX), NarrowToInt(startY)};
  area.extent = {NarrowToInt(extentX), NarrowToInt(extentY)};
  return area;
}

TwipsRect ConvertToTwips(PrintPoint start, PrintPoint extent, int dpiX, int dpiY) {
  TwipsRect rect;
  rect.left = TwipsFromPixels(start.x, dpiX);
  rect.top = TwipsFromPixels(start.y, dpiY);
  rect.right = TwipsFromPixels(int64_t{start.x} + extent.x, dpiX);
  rect.bottom = TwipsFromPixels(int64_t{start.y} + extent.y, dpiY);
  return rect;
}
