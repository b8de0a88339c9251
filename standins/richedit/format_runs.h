// Character formats kept as runs over the text: a map from each run's first
// position to an interned format, covering every character and the final
// paragraph mark (positions 0 to text length inclusive). Styling a range costs
// a few map operations whatever the length of the text.
#pragma once

#include <richedit.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace richedit {

// Every attribute of a CHARFORMAT2A the control keeps, whether or not it draws
// it: what is set is reported back. Records compare bytewise, so the padding
// is spelt out and kept zero.
struct CharFormat {
  char face[LF_FACESIZE];
  LONG height;          // twips
  LONG offset;          // twips above the baseline
  COLORREF color;       // used unless effects hold CFE_AUTOCOLOR
  COLORREF back_color;  // used unless effects hold CFE_AUTOBACKCOLOR
  DWORD effects;        // CFE_* bits
  LCID lcid;
  SHORT spacing;
  SHORT style;
  WORD weight;
  WORD kerning;
  BYTE charset;
  BYTE pitch_and_family;
  BYTE underline_type;  // CFU_*; kept apart from CFE_UNDERLINE
  BYTE animation;
  BYTE rev_author;
  BYTE unused[3];
};
static_assert(sizeof(CharFormat) == 72, "no padding bytes outside unused");

// The mask bits EM_GETCHARFORMAT reports for a uniform format: all that a
// CHARFORMAT2A names but the cookie, which rich edit 2.0 does not keep; the
// short CHARFORMATA record gets those of its own fields only.
constexpr DWORD kReportedMask2 = CFM_ALL2 & ~static_cast<DWORD>(CFM_COOKIE);
constexpr DWORD kReportedMask = CFM_ALL;
constexpr DWORD kReportedEffects2 = CFM_EFFECTS2;
constexpr DWORD kReportedEffects = CFM_EFFECTS;

CharFormat BlankFormat();
// The format rich edit starts with: the system font, at its character height.
CharFormat SystemFontFormat();
// The format with the attributes named in the record's mask taken from it.
CharFormat MergeFormat(const CharFormat& base, const CHARFORMAT2A& change);
// Writes the format into a CHARFORMATA or CHARFORMAT2A (by its cbSize), with
// every reported mask bit set.
void ExportFormat(const CharFormat& format, CHARFORMAT2A* out);
// The mask bits of the attributes in which two formats differ.
DWORD DifferingAttributes(const CharFormat& a, const CharFormat& b);
bool IsValidFormatRecord(const CHARFORMAT2A* record);

class FormatRuns {
 public:
  explicit FormatRuns(const CharFormat& initial);

  int Intern(const CharFormat& format);
  const CharFormat& Get(int index) const { return formats_[static_cast<size_t>(index)]; }
  int FormatCount() const { return static_cast<int>(formats_.size()); }

  // Positions covered: 0 .. total() - 1, total() = text length + 1.
  int total() const { return total_; }
  int FormatAt(int position) const;
  int RunCount() const { return static_cast<int>(runs_.size()); }

  void Apply(int start, int end, const CHARFORMAT2A& change);
  // The text's [start, end) was replaced by `inserted` characters in `format`.
  void Replace(int start, int end, int inserted, int format);
  void Reset(int text_length, int format);

  // Calls visit(run start, run end, format index) for the runs within [start, end).
  template <typename Visit>
  void ForEachRun(int start, int end, Visit visit) const {
    if (start >= end) return;
    auto it = runs_.upper_bound(start);
    --it;
    while (it != runs_.end() && it->first < end) {
      auto next = std::next(it);
      const int run_end = next == runs_.end() ? total_ : next->first;
      visit(std::max(it->first, start), std::min(run_end, end), it->second);
      it = next;
    }
  }

  // Which interned formats some run uses.
  std::vector<bool> UsedFormats() const;

 private:
  void Split(int position);
  void Coalesce(std::map<int, int>::iterator from, int through);

  std::vector<CharFormat> formats_;
  std::map<std::string, int> interned_;
  std::map<int, int> runs_;
  int total_ = 1;
};

}  // namespace richedit
