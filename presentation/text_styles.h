// The viewer's two palettes: the character formats the viewer ever applies
// and the control's background, for a light and for a dark file manager.
// Constant records, passed unchanged to EM_SETCHARFORMAT and EM_SETBKGNDCOLOR.
#pragma once

#include <richedit.h>
#include <windows.h>

struct TextPalette {
  bool dark;
  // EM_SETBKGNDCOLOR's arguments: nonzero for the system's window colour, else
  // the colour.
  WPARAM systemBackground;
  COLORREF background;
  CHARFORMAT2A base;   // the typeface (and in the dark, the colour) of a Java view
  CHARFORMAT2A plain;  // the colour of plain text, the line-numbered view's
  CHARFORMAT2A keyword;
  CHARFORMAT2A string;
  CHARFORMAT2A comment;
  CHARFORMAT2A banner;
};

// The light palette is what the viewer always showed: the control's own
// background and text colour, and only typeface, boldness and the highlight
// colours set. The dark one also sets background and text colour.
extern const TextPalette LightPalette;
extern const TextPalette DarkPalette;

// The dark palette when the host's show flags hold lcp_darkmode.
const TextPalette& PaletteForShowFlags(int showFlags);

// Gives the control the palette's background.
void ApplyPaletteBackground(HWND control, const TextPalette& palette);
