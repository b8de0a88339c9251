#include "standins/richedit/format_runs.h"

#include <algorithm>
#include <cstring>

namespace richedit {

CharFormat BlankFormat() {
  CharFormat format;
  memset(&format, 0, sizeof format);
  format.weight = FW_NORMAL;
  format.effects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
  format.underline_type = CFU_UNDERLINE;
  return format;
}

CharFormat SystemFontFormat() {
  CharFormat format = BlankFormat();
  HGDIOBJ font = GetStockObject(SYSTEM_FONT);
  LOGFONTA lf;
  memset(&lf, 0, sizeof lf);
  GetObjectA(font, sizeof lf, &lf);
  memcpy(format.face, lf.lfFaceName, sizeof format.face);
  format.face[LF_FACESIZE - 1] = '\0';
  if (format.face[0] == '\0') strcpy(format.face, "System");
  format.charset = lf.lfCharSet;
  format.pitch_and_family = lf.lfPitchAndFamily;
  format.weight = static_cast<WORD>(lf.lfWeight > 0 ? lf.lfWeight : FW_NORMAL);
  if (format.weight >= FW_SEMIBOLD) format.effects |= CFE_BOLD;
  if (lf.lfItalic) format.effects |= CFE_ITALIC;
  if (lf.lfUnderline) format.effects |= CFE_UNDERLINE;
  if (lf.lfStrikeOut) format.effects |= CFE_STRIKEOUT;
  format.lcid = GetSystemDefaultLCID();
  // The stock font gives its cell height; the format holds the character
  // height, which draws the font at the same size.
  int pixels = lf.lfHeight < 0 ? -lf.lfHeight : 0;
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) {
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm;
    if (pixels == 0 && GetTextMetricsA(screen, &tm)) pixels = tm.tmHeight - tm.tmInternalLeading;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
  }
  format.height = pixels > 0 ? MulDiv(pixels, 1440, dpi > 0 ? dpi : 96) : 200;
  return format;
}

bool IsValidFormatRecord(const CHARFORMAT2A* record) {
  return record != nullptr &&
         (record->cbSize == sizeof(CHARFORMATA) || record->cbSize == sizeof(CHARFORMAT2A));
}

namespace {

// The attributes a format shares with a CHARFORMAT2A beyond face, pitch and
// effects, each with its mask bit: visit(bit, format's field, record's field).
// Those of the short CHARFORMATA record come first; full adds the rest.
template <typename Format, typename Record, typename Visit>
void ForEachAttribute(Format& f, Record& r, bool full, Visit visit) {
  visit(CFM_CHARSET, f.charset, r.bCharSet);
  visit(CFM_SIZE, f.height, r.yHeight);
  visit(CFM_OFFSET, f.offset, r.yOffset);
  visit(CFM_COLOR, f.color, r.crTextColor);
  if (!full) return;
  visit(CFM_BACKCOLOR, f.back_color, r.crBackColor);
  visit(CFM_LCID, f.lcid, r.lcid);
  visit(CFM_SPACING, f.spacing, r.sSpacing);
  visit(CFM_KERNING, f.kerning, r.wKerning);
  visit(CFM_STYLE, f.style, r.sStyle);
  visit(CFM_ANIMATION, f.animation, r.bAnimation);
  visit(CFM_REVAUTHOR, f.rev_author, r.bRevAuthor);
  visit(CFM_UNDERLINETYPE, f.underline_type, r.bUnderlineType);
  visit(CFM_WEIGHT, f.weight, r.wWeight);
}

}  // namespace

CharFormat MergeFormat(const CharFormat& base, const CHARFORMAT2A& change) {
  CharFormat f = base;
  const bool full = change.cbSize == sizeof(CHARFORMAT2A);
  const DWORD mask = change.dwMask & (full ? kReportedMask2 : kReportedMask);
  // Each effect has a mask bit of the same value (CFE_AUTOCOLOR that of
  // CFM_COLOR, CFE_AUTOBACKCOLOR that of CFM_BACKCOLOR).
  const DWORD effects = mask & CFM_EFFECTS2;
  f.effects = (f.effects & ~effects) | (change.dwEffects & effects);
  if (mask & CFM_FACE) {
    // Bounded copy of a name that need not be terminated; the rest stays zero.
    memset(f.face, 0, sizeof f.face);
    memcpy(f.face, change.szFaceName, strnlen(change.szFaceName, sizeof f.face - 1));
    f.pitch_and_family = change.bPitchAndFamily;
  }
  ForEachAttribute(f, change, full, [mask](DWORD bit, auto& mine, const auto& theirs) {
    if (mask & bit) mine = theirs;
  });
  // A type named without CFM_UNDERLINE switches underlining with it.
  if ((mask & CFM_UNDERLINETYPE) && !(mask & CFM_UNDERLINE)) {
    f.effects &= ~static_cast<DWORD>(CFE_UNDERLINE);
    if (f.underline_type != CFU_UNDERLINENONE) f.effects |= CFE_UNDERLINE;
  }
  if (mask & CFM_WEIGHT) {
    f.effects =
        (f.effects & ~static_cast<DWORD>(CFE_BOLD)) | (f.weight >= FW_SEMIBOLD ? CFE_BOLD : 0);
  }
  if (mask & CFM_BOLD) f.weight = (f.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  return f;
}

void ExportFormat(const CharFormat& format, CHARFORMAT2A* out) {
  const UINT size = out->cbSize;
  const bool full = size == sizeof(CHARFORMAT2A);
  memset(reinterpret_cast<char*>(out) + sizeof out->cbSize, 0, size - sizeof out->cbSize);
  out->dwMask = full ? kReportedMask2 : kReportedMask;
  out->dwEffects = format.effects & (full ? kReportedEffects2 : kReportedEffects);
  out->bPitchAndFamily = format.pitch_and_family;
  memcpy(out->szFaceName, format.face, sizeof out->szFaceName);
  ForEachAttribute(format, *out, full,
                   [](DWORD, const auto& mine, auto& theirs) { theirs = mine; });
}

DWORD DifferingAttributes(const CharFormat& a, const CharFormat& b) {
  DWORD differ = (a.effects ^ b.effects) & CFM_EFFECTS2;
  if (strcmp(a.face, b.face) != 0 || a.pitch_and_family != b.pitch_and_family) differ |= CFM_FACE;
  CHARFORMAT2A other;
  other.cbSize = sizeof other;
  ExportFormat(b, &other);
  ForEachAttribute(a, other, true, [&differ](DWORD bit, const auto& mine, const auto& theirs) {
    if (mine != theirs) differ |= bit;
  });
  return differ;
}

FormatRuns::FormatRuns(const CharFormat& initial) { Reset(0, Intern(initial)); }

int FormatRuns::Intern(const CharFormat& format) {
  std::string key(reinterpret_cast<const char*>(&format), sizeof format);
  auto found = interned_.find(key);
  if (found != interned_.end()) return found->second;
  const int index = static_cast<int>(formats_.size());
  formats_.push_back(format);
  interned_.emplace(std::move(key), index);
  return index;
}

int FormatRuns::FormatAt(int position) const {
  position = std::max(0, std::min(position, total_ - 1));
  auto it = runs_.upper_bound(position);
  return std::prev(it)->second;
}

void FormatRuns::Split(int position) {
  if (position <= 0 || position >= total_) return;
  auto it = std::prev(runs_.upper_bound(position));
  if (it->first != position) runs_.emplace_hint(std::next(it), position, it->second);
}

void FormatRuns::Coalesce(std::map<int, int>::iterator from, int through) {
  auto previous = from;
  auto it = std::next(from);
  while (it != runs_.end() && it->first <= through) {
    if (it->second == previous->second) {
      it = runs_.erase(it);
    } else {
      previous = it;
      ++it;
    }
  }
}

void FormatRuns::Apply(int start, int end, const CHARFORMAT2A& change) {
  start = std::max(start, 0);
  end = std::min(end, total_);
  if (start >= end) return;
  Split(start);
  Split(end);
  // Formats seen in this range map to the same results; remember the last one.
  int last_in = -1, last_out = -1;
  for (auto it = runs_.find(start); it != runs_.end() && it->first < end; ++it) {
    if (it->second != last_in) {
      last_in = it->second;
      last_out = Intern(MergeFormat(formats_[static_cast<size_t>(last_in)], change));
    }
    it->second = last_out;
  }
  auto from = runs_.find(start);
  if (from != runs_.begin()) --from;
  Coalesce(from, end);
}

void FormatRuns::Replace(int start, int end, int inserted, int format) {
  const int after_format = FormatAt(end);
  const int shift = inserted - (end - start);
  std::map<int, int> out;
  for (auto it = runs_.begin(); it != runs_.end() && it->first < start; ++it) {
    out.emplace_hint(out.end(), it->first, it->second);
  }
  if (inserted > 0) out.emplace_hint(out.end(), start, format);
  out.emplace_hint(out.end(), start + inserted, after_format);
  for (auto it = runs_.upper_bound(end); it != runs_.end(); ++it) {
    out.emplace_hint(out.end(), it->first + shift, it->second);
  }
  runs_.swap(out);
  total_ += shift;
  Coalesce(runs_.begin(), total_);
}

void FormatRuns::Reset(int text_length, int format) {
  runs_.clear();
  runs_.emplace(0, format);
  total_ = text_length + 1;
}

std::vector<bool> FormatRuns::UsedFormats() const {
  std::vector<bool> used(formats_.size(), false);
  for (const auto& run : runs_) used[static_cast<size_t>(run.second)] = true;
  return used;
}

}  // namespace richedit
