#include "standins/richedit/format_runs.h"

#include <algorithm>
#include <cstring>

namespace richedit {

CharFormat BlankFormat() {
  CharFormat format;
  memset(&format, 0, sizeof format);
  format.weight = FW_NORMAL;
  format.effects = CFE_AUTOCOLOR;
  return format;
}

bool IsValidFormatRecord(const CHARFORMAT2A* record) {
  return record != nullptr &&
         (record->cbSize == sizeof(CHARFORMATA) || record->cbSize == sizeof(CHARFORMAT2A));
}

CharFormat MergeFormat(const CharFormat& base, const CHARFORMAT2A& change) {
  CharFormat f = base;
  const DWORD mask = change.dwMask;
  auto take_effect = [&](DWORD bit, DWORD effect) {
    if (mask & bit) f.effects = (f.effects & ~effect) | (change.dwEffects & effect);
  };
  if (mask & CFM_FACE) {
    // Bounded copy of a name that need not be terminated; the rest stays zero.
    memset(f.face, 0, sizeof f.face);
    memcpy(f.face, change.szFaceName, strnlen(change.szFaceName, sizeof f.face - 1));
  }
  if (mask & CFM_CHARSET) f.charset = change.bCharSet;
  if (mask & CFM_SIZE) f.height = change.yHeight;
  if (mask & CFM_COLOR) {
    f.color = change.crTextColor;
    take_effect(CFM_COLOR, CFE_AUTOCOLOR);
  }
  take_effect(CFM_ITALIC, CFE_ITALIC);
  take_effect(CFM_UNDERLINE, CFE_UNDERLINE);
  take_effect(CFM_STRIKEOUT, CFE_STRIKEOUT);
  if (change.cbSize == sizeof(CHARFORMAT2A) && (mask & CFM_WEIGHT)) {
    f.weight = change.wWeight;
    f.effects = (f.effects & ~CFE_BOLD) | (f.weight >= FW_BOLD ? CFE_BOLD : 0);
  }
  if (mask & CFM_BOLD) {
    take_effect(CFM_BOLD, CFE_BOLD);
    f.weight = (f.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  }
  return f;
}

void ExportFormat(const CharFormat& format, CHARFORMAT2A* out) {
  const UINT size = out->cbSize;
  memset(reinterpret_cast<char*>(out) + sizeof out->cbSize, 0, size - sizeof out->cbSize);
  out->dwMask = size == sizeof(CHARFORMAT2A) ? kSupportedMask2 : kSupportedMask;
  out->dwEffects = format.effects;
  out->yHeight = format.height;
  out->crTextColor = format.color;
  out->bCharSet = format.charset;
  out->bPitchAndFamily = format.pitch_and_family;
  memcpy(out->szFaceName, format.face, sizeof out->szFaceName);
  if (size == sizeof(CHARFORMAT2A)) out->wWeight = format.weight;
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
