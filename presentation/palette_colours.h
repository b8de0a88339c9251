// The colours of the viewer's two palettes, as COLORREF values (0x00BBGGRR),
// without the Windows headers so that their contrast can be checked natively.
#pragma once

#include <stdint.h>

constexpr uint32_t PaletteRgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

struct PaletteColours {
  uint32_t background;
  uint32_t text;  // plain text, the header lines' line breaks included
  uint32_t keyword;
  uint32_t literal;  // string and character literals
  uint32_t comment;  // comments and the timing line
  uint32_t banner;
};

// The light view keeps the control's own background and text colour (the
// system's window colours, white and black here); only its four highlight
// colours are set.
constexpr PaletteColours LightColours = {
    PaletteRgb(255, 255, 255), PaletteRgb(0, 0, 0),     PaletteRgb(127, 0, 85),
    PaletteRgb(0, 0, 192),     PaletteRgb(63, 127, 95), PaletteRgb(255, 128, 128),
};

// For a file manager in its dark scheme: every colour at least 4.5:1 against
// the background (WCAG 2 contrast), hues after the light ones.
constexpr PaletteColours DarkColours = {
    PaletteRgb(30, 30, 30),    PaletteRgb(212, 212, 212), PaletteRgb(220, 130, 190),
    PaletteRgb(130, 180, 255), PaletteRgb(120, 180, 140), PaletteRgb(255, 140, 140),
};
