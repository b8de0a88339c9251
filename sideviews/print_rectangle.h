// The arithmetic that places the printed text on the page: where the text
// starts and how far it reaches, given the host's margins and what the printer
// reports, and the resulting rectangle in twips for the control's page
// formatting. No platform call: the caller converts between device pixels and
// MM_LOMETRIC units (0.1 mm, vertical values negative below the origin).
#pragma once

struct PrintPoint {
  int x;
  int y;
};

// Distances from the paper edges, in 0.1 mm.
struct PrintMargins {
  int left;
  int top;
  int right;
  int bottom;
};

// Start point and extent of the text area, in MM_LOMETRIC units measured from
// the corner of the printable area.
struct PrintArea {
  PrintPoint start;
  PrintPoint extent;
};

struct TwipsRect {
  int left;
  int top;
  int right;
  int bottom;
};

// offset: the unprintable strip at the left and top; paper: the whole sheet;
// printable: the printable area; all three in MM_LOMETRIC units. The start
// skips what of the margins lies beyond the unprintable strip; the extent is
// what the margins leave of the paper, cut to what the printable area holds
// beyond the start.
PrintArea PlacePrintArea(const PrintMargins& margins, PrintPoint offset, PrintPoint paper,
                         PrintPoint printable);

// start and extent in device pixels, dpi in pixels per inch; 1440 twips to the
// inch, each value truncated toward zero. A resolution of 0 gives 0 (nothing
// to divide by).
TwipsRect ConvertToTwips(PrintPoint start, PrintPoint extent, int dpiX, int dpiY);
