// Measuring and drawing one line of formatted text into a device context, the
// same way for the screen and for EM_FORMATRANGE. On screen a line is a
// paragraph; EM_FORMATRANGE breaks paragraphs wider than its page (WrapEnd).
// Tab stops every half inch.
#pragma once

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "standins/richedit/document_text.h"
#include "standins/richedit/format_runs.h"

namespace richedit {

struct FontMetrics {
  HFONT font = nullptr;
  int height = 0;
  int ascent = 0;
  int average_width = 0;
};

// GDI fonts made from the interned formats, one per format and vertical
// resolution; released with the cache.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache() { Clear(); }
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  const FontMetrics& Get(HDC dc, const FormatRuns& runs, int format, int dpi_y);
  void Clear();

 private:
  std::map<std::pair<int, int>, FontMetrics> fonts_;
};

struct LineMetrics {
  int height = 0;
  int ascent = 0;
};

// One pass over [start, end) of a line: pieces of one format, split at tabs
// and at the two given positions (the selection's ends), each with its left and
// right x. The caller restores the DC's font.
class LineLayout {
 public:
  LineLayout(HDC dc, FontCache* fonts, const DocumentText& text, const FormatRuns& runs, int dpi_x,
             int dpi_y)
      : dc_(dc), fonts_(fonts), text_(text), runs_(runs), dpi_x_(dpi_x), dpi_y_(dpi_y) {}

  // Height and ascent of the tallest font among the characters of the line
  // [start, end); an empty line takes the font of its paragraph mark.
  LineMetrics Measure(int start, int end) const;

  template <typename Piece>
  int Walk(int start, int end, int origin_x, int split_a, int split_b, Piece piece) const;

  // Where a line starting at start and no wider than width ends within the
  // paragraph part [start, end): after the last blank before the first
  // character that would cross the width (blanks may hang over it), or at
  // that character when the line holds no blank; at least one character on.
  int WrapEnd(int start, int end, int width) const;

  // x of position within the line that begins at start, relative to origin_x.
  int XOfPosition(int start, int position) const;
  // The position in [start, end] nearest to x (relative to the line's origin).
  int PositionOfX(int start, int end, int x) const;

  const FontMetrics& Font(int format) const { return fonts_->Get(dc_, runs_, format, dpi_y_); }

 private:
  int NextTabStop(int origin_x, int x) const;
  // The right edge of each character of [p, q) from p's left, in the font
  // selected now.
  void CharEdges(int p, int q, std::vector<int>* edges) const;

  HDC dc_;
  FontCache* fonts_;
  const DocumentText& text_;
  const FormatRuns& runs_;
  int dpi_x_;
  int dpi_y_;
};

template <typename Piece>
int LineLayout::Walk(int start, int end, int origin_x, int split_a, int split_b,
                     Piece piece) const {
  int x = origin_x;
  const wchar_t* chars = text_.text().data();
  runs_.ForEachRun(start, end, [&](int run_start, int run_end, int format) {
    const FontMetrics& font = Font(format);
    SelectObject(dc_, font.font);
    int p = run_start;
    while (p < run_end) {
      if (chars[p] == L'\t') {
        const int stop = NextTabStop(origin_x, x);
        piece(p, p + 1, x, stop, format, font);
        x = stop;
        ++p;
        continue;
      }
      int q = p + 1;
      while (q < run_end && chars[q] != L'\t' && q != split_a && q != split_b) ++q;
      SIZE size = {0, 0};
      GetTextExtentPoint32W(dc_, chars + p, q - p, &size);
      piece(p, q, x, x + size.cx, format, font);
      x += size.cx;
      p = q;
    }
  });
  return x;
}

}  // namespace richedit
