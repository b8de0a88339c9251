// WCAG 2 relative luminance and contrast ratio of COLORREF values (0x00BBGGRR).
#pragma once

#include <stdint.h>

// 0 for black to 1 for white: the sRGB channels made linear, weighted
// 0.2126 red, 0.7152 green, 0.0722 blue.
double RelativeLuminance(uint32_t colour);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(uint32_t first, uint32_t second);
