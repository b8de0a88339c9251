#include "presentation/colour_contrast.h"

#include <math.h>

namespace {

double LinearChannel(uint32_t value) {
  double c = static_cast<double>(value & 0xFF) / 255.0;
  return c <= 0.03928 ? c / 12.92 : pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(uint32_t colour) {
  return 0.2126 * LinearChannel(colour) + 0.7152 * LinearChannel(colour >> 8) +
         0.0722 * LinearChannel(colour >> 16);
}

double ContrastRatio(uint32_t first, uint32_t second) {
  double a = RelativeLuminance(first);
  double b = RelativeLuminance(second);
  double lighter = a > b ? a : b;
  double darker = a > b ? b : a;
  return (lighter + 0.05) / (darker + 0.05);
}
