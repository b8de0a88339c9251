#include "standins/richedit/text_layout.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace richedit {

const FontMetrics& FontCache::Get(HDC dc, const FormatRuns& runs, int format, int dpi_y) {
  auto key = std::make_pair(format, dpi_y);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  const CharFormat& f = runs.Get(format);
  LOGFONTA lf;
  memset(&lf, 0, sizeof lf);
  lf.lfHeight = -MulDiv(f.height > 0 ? f.height : 200, dpi_y, 1440);
  lf.lfWeight = f.weight;
  lf.lfItalic = (f.effects & CFE_ITALIC) ? TRUE : FALSE;
  lf.lfUnderline = (f.effects & CFE_UNDERLINE) ? TRUE : FALSE;
  lf.lfStrikeOut = (f.effects & CFE_STRIKEOUT) ? TRUE : FALSE;
  lf.lfCharSet = f.charset;
  lf.lfPitchAndFamily = f.pitch_and_family;
  memcpy(lf.lfFaceName, f.face, sizeof lf.lfFaceName);
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  FontMetrics metrics;
  metrics.font = CreateFontIndirectA(&lf);
  if (metrics.font == nullptr) metrics.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ old = SelectObject(dc, metrics.font);
  TEXTMETRICA tm;
  if (GetTextMetricsA(dc, &tm)) {
    metrics.height = tm.tmHeight;
    metrics.ascent = tm.tmAscent;
    metrics.average_width = std::max<int>(1, tm.tmAveCharWidth);
  } else {
    metrics.height = -lf.lfHeight;
    metrics.ascent = metrics.height * 4 / 5;
    metrics.average_width = std::max(1, metrics.height / 2);
  }
  SelectObject(dc, old);
  return fonts_.emplace(key, metrics).first->second;
}

void FontCache::Clear() {
  for (auto& entry : fonts_) {
    // Stock fonts stand in when creation fails; deleting them is harmless.
    DeleteObject(entry.second.font);
  }
  fonts_.clear();
}

LineMetrics LineLayout::Measure(int start, int end) const {
  LineMetrics metrics;
  auto take = [&](int, int, int format) {
    const FontMetrics& font = Font(format);
    metrics.height = std::max(metrics.height, font.height);
    metrics.ascent = std::max(metrics.ascent, font.ascent);
  };
  if (start < end) {
    runs_.ForEachRun(start, end, take);
  } else {
    take(start, start + 1, runs_.FormatAt(start));
  }
  return metrics;
}

int LineLayout::NextTabStop(int origin_x, int x) const {
  const int tab = std::max(1, dpi_x_ / 2);
  return origin_x + ((x - origin_x) / tab + 1) * tab;
}

int LineLayout::XOfPosition(int start, int position) const {
  HGDIOBJ old = GetCurrentObject(dc_, OBJ_FONT);
  const int x =
      Walk(start, position, 0, -1, -1, [](int, int, int, int, int, const FontMetrics&) {});
  SelectObject(dc_, old);
  return x;
}

void LineLayout::CharEdges(int p, int q, std::vector<int>* edges) const {
  // No fit count asked for: then every partial extent is filled in.
  edges->assign(static_cast<size_t>(q - p), 0);
  SIZE size;
  GetTextExtentExPointW(dc_, text_.text().data() + p, q - p, 0, nullptr, edges->data(), &size);
}

int LineLayout::PositionOfX(int start, int end, int x) const {
  if (x <= 0) return start;
  HGDIOBJ old = GetCurrentObject(dc_, OBJ_FONT);
  int found = end;
  bool done = false;
  std::vector<int> edges;
  Walk(start, end, 0, -1, -1, [&](int p, int q, int left, int right, int, const FontMetrics&) {
    if (done || x >= right) return;
    done = true;
    if (q - p == 1) {
      found = (x - left) * 2 < (right - left) ? p : q;
      if (text_.InsidePair(found)) ++found;
      return;
    }
    // Within a piece of several characters: the nearest character edge.
    CharEdges(p, q, &edges);
    found = q;
    int previous = 0;
    for (int i = 0; i < q - p; ++i) {
      const int edge = left + edges[static_cast<size_t>(i)];
      if (x < edge) {
        found = (x - (left + previous)) * 2 < (edge - (left + previous)) ? p + i : p + i + 1;
        break;
      }
      previous = edges[static_cast<size_t>(i)];
    }
    if (text_.InsidePair(found)) ++found;
  });
  SelectObject(dc_, old);
  return found;
}

int LineLayout::WrapEnd(int start, int end, int width) const {
  if (start >= end) return end;
  // A line holds no more characters than its width has pixels, but for blanks
  // hanging over it: no more are measured.
  const int stop =
      static_cast<int>(std::min<long long>(end, start + 2LL * std::max(width, 1) + 64));
  HGDIOBJ old = GetCurrentObject(dc_, OBJ_FONT);
  const wchar_t* chars = text_.text().data();
  int after_blank = -1;
  int overflow = -1;
  std::vector<int> edges;
  Walk(start, stop, 0, -1, -1, [&](int p, int q, int left, int right, int, const FontMetrics&) {
    if (overflow >= 0) return;
    if (right > width && q - p > 1) CharEdges(p, q, &edges);
    for (int i = p; i < q; ++i) {
      const bool blank = chars[i] == L' ' || chars[i] == L'\t';
      if (blank) {
        after_blank = i + 1;
        continue;
      }
      const int edge =
          (right <= width || q - p == 1) ? right : left + edges[static_cast<size_t>(i - p)];
      if (edge > width) {
        overflow = i;
        return;
      }
    }
  });
  SelectObject(dc_, old);
  if (overflow < 0) return stop;
  if (after_blank > start) return after_blank;
  // Never between the halves of a surrogate pair.
  if (text_.InsidePair(overflow)) --overflow;
  if (overflow <= start) return text_.NextCharacter(start);
  return overflow;
}

}  // namespace richedit
