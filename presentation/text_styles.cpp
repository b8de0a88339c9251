#include "presentation/text_styles.h"

#include "host/listplug.h"
#include "host/richedit_operations.h"
#include "presentation/palette_colours.h"

namespace {

// Composed at compile time: the records never change, so a reader on any
// thread always finds them whole.
constexpr CHARFORMAT2A Style(DWORD mask, DWORD effects, COLORREF color, BYTE charset,
                             const char* face) {
  CHARFORMAT2A style{};
  style.cbSize = sizeof style;
  style.dwMask = mask;
  style.dwEffects = effects;
  style.crTextColor = color;
  style.bCharSet = charset;
  for (int i = 0; face[i] != '\0' && i < LF_FACESIZE - 1; ++i) style.szFaceName[i] = face[i];
  return style;
}

constexpr DWORD kBaseMask = CFM_FACE | CFM_CHARSET | CFM_BOLD;
constexpr DWORD kColourMask = CFM_COLOR | CFM_BOLD;

}  // namespace

constexpr TextPalette LightPalette = {
    false,
    TRUE,
    0,
    Style(kBaseMask, 0, 0, DEFAULT_CHARSET, "Courier New"),
    Style(CFM_COLOR, CFE_AUTOCOLOR, 0, 0, ""),
    Style(kColourMask, CFE_BOLD, LightColours.keyword, 0, ""),
    Style(kColourMask, 0, LightColours.literal, 0, ""),
    Style(kColourMask, 0, LightColours.comment, 0, ""),
    Style(kColourMask, CFE_BOLD, LightColours.banner, 0, ""),
};

constexpr TextPalette DarkPalette = {
    true,
    FALSE,
    DarkColours.background,
    Style(kBaseMask | CFM_COLOR, 0, DarkColours.text, DEFAULT_CHARSET, "Courier New"),
    Style(CFM_COLOR, 0, DarkColours.text, 0, ""),
    Style(kColourMask, CFE_BOLD, DarkColours.keyword, 0, ""),
    Style(kColourMask, 0, DarkColours.literal, 0, ""),
    Style(kColourMask, 0, DarkColours.comment, 0, ""),
    Style(kColourMask, CFE_BOLD, DarkColours.banner, 0, ""),
};

const TextPalette& PaletteForShowFlags(int showFlags) {
  return (showFlags & lcp_darkmode) ? DarkPalette : LightPalette;
}

void ApplyPaletteBackground(HWND control, const TextPalette& palette) {
  SetControlBackground(control, palette.systemBackground, palette.background);
}
