// Windows' answers for character formats, all from test_EM_SETCHARFORMAT:
// what EM_GETCHARFORMAT reports, what EM_SETCHARFORMAT keeps, and when
// EM_SETCHARFORMAT sets the modify flag.
#include <cstring>

#include "tests/windows/richedit/windows_answers_fixture.h"

namespace {

// Rich edit 2.0's CFM_ALL2: MinGW's header adds CFM_COOKIE for later versions.
const DWORD kAll2 = CFM_ALL2 & ~static_cast<DWORD>(CFM_COOKIE);

class FormatAnswers : public WindowsAnswersTest {
 protected:
  LRESULT SetRecord(WPARAM scope, const CHARFORMAT2A& format) const {
    return Send(EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
  }
};

CHARFORMAT2A Record(DWORD mask) {
  CHARFORMAT2A format;
  memset(&format, 0, sizeof format);
  format.cbSize = sizeof format;
  format.dwMask = mask;
  return format;
}

TEST_F(FormatAnswers, TheDefaultFormatReportsEveryAttribute) {
  const CHARFORMAT2A f = ReadFormat(0, 0);
  EXPECT_EQ(f.dwMask, kAll2);
  const DWORD bold = f.wWeight > 550 ? CFE_BOLD : 0;
  EXPECT_EQ(f.dwEffects, CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR | bold);
  EXPECT_EQ(f.yOffset, 0);
  EXPECT_EQ(f.sSpacing, 0);
  EXPECT_EQ(f.lcid, GetSystemDefaultLCID());
  EXPECT_EQ(f.sStyle, 0);
  EXPECT_EQ(f.wKerning, 0);
  EXPECT_EQ(f.bAnimation, 0);
  EXPECT_EQ(f.bRevAuthor, 0);
}

TEST_F(FormatAnswers, OnlyRecordsWithASizeAreTakenAndSomeScopesModify) {
  CHARFORMAT2A blank;
  memset(&blank, 0, sizeof blank);
  for (WPARAM scope : {WPARAM(0xfffffff0), WPARAM(SCF_DEFAULT), WPARAM(SCF_SELECTION),
                       WPARAM(SCF_WORD), WPARAM(SCF_ALL)}) {
    EXPECT_EQ(SetRecord(scope, blank), 0) << "no size, scope " << scope;
    EXPECT_EQ(SetRecord(scope, Record(0)), 1) << "scope " << scope;
  }
  CHARFORMAT2A italic = Record(CFM_ITALIC);
  italic.dwEffects = CFE_ITALIC;
  const struct {
    const char* text;
    int min, max;
    WPARAM scope;
    bool modifies;
  } cases[] = {
      {"", 0, 0, SCF_DEFAULT, false},
      {"", 0, 0, SCF_SELECTION, false},
      {"wine", 0, 0, SCF_SELECTION, false},
      {"wine", 0, 2, SCF_SELECTION, true},
      {"", 0, 0, SCF_ALL, true},
  };
  for (const auto& c : cases) {
    SetText(c.text);
    EXPECT_FALSE(Modified()) << "WM_SETTEXT";
    Send(EM_SETSEL, static_cast<WPARAM>(c.min), c.max);
    EXPECT_EQ(SetRecord(c.scope, italic), 1);
    EXPECT_EQ(Modified(), c.modifies) << "scope " << c.scope << " on '" << c.text << "' " << c.min;
  }
}

// An effect on half of "wine": uniform where set or where not, its mask bit
// cleared over both halves, where the effect is then reported set when any
// part of the selection has it. (Subscript and superscript share a pair of
// mask bits, CFM_SUPERSCRIPT, to set them with.)
TEST_F(FormatAnswers, EffectsReadUniformOrMixed) {
  const DWORD effects[] = {CFE_BOLD,      CFE_ITALIC, CFE_UNDERLINE, CFE_STRIKEOUT,
                           CFE_PROTECTED, CFE_LINK,   CFE_SUBSCRIPT, CFE_SUPERSCRIPT};
  for (DWORD effect : effects) {
    const DWORD mask = (effect & CFM_SUPERSCRIPT) ? CFM_SUPERSCRIPT : effect;
    for (int styled : {0, 2}) {
      Recreate();
      SetText("wine");
      // A TrueType face, for bold to read the same everywhere.
      CHARFORMAT2A face = Record(CFM_FACE | CFM_WEIGHT);
      strcpy(face.szFaceName, "Courier New");
      face.wWeight = FW_DONTCARE;
      SetRecord(SCF_ALL, face);
      CHARFORMAT2A f = ReadFormat(0, 4);
      EXPECT_EQ(f.dwMask & effect, effect) << effect;
      EXPECT_EQ(f.dwEffects & effect, 0u) << effect;
      Send(EM_SETSEL, styled, styled + 2);
      SetFormat(SCF_SELECTION, mask, effect);
      const int plain = 2 - styled;
      f = ReadFormat(styled, styled + 2);
      EXPECT_EQ(f.dwMask & effect, effect) << effect << " styled " << styled;
      EXPECT_EQ(f.dwEffects & effect, effect) << effect << " styled " << styled;
      f = ReadFormat(plain, plain + 2);
      EXPECT_EQ(f.dwMask & effect, effect) << effect << " plain " << plain;
      EXPECT_EQ(f.dwEffects & effect, 0u) << effect << " plain " << plain;
      f = ReadFormat(1, 3);
      EXPECT_EQ(f.dwMask & effect, 0u) << effect << " mixed";
      if (styled == 2) {
        EXPECT_EQ(f.dwEffects & effect, effect) << effect << " mixed";
      }
    }
  }
}

TEST_F(FormatAnswers, WeightSpacingAndUnderlineTypeAreKept) {
  SetText("wine");
  Send(EM_SETSEL, 0, -1);
  CHARFORMAT2A weight = Record(CFM_WEIGHT);
  weight.wWeight = 100;
  SetRecord(SCF_SELECTION, weight);
  EXPECT_EQ(ReadFormat(0, -1).wWeight, 100);
  CHARFORMAT2A spacing = Record(CFM_SPACING);
  spacing.sSpacing = 10;
  SetRecord(SCF_SELECTION, spacing);
  EXPECT_EQ(ReadFormat(0, -1).sSpacing, 10);

  // A type named alone switches underlining; CFE_UNDERLINE named with it wins.
  CHARFORMAT2A f = ReadFormat(0, -1);
  EXPECT_EQ(f.dwEffects & CFE_UNDERLINE, 0u);
  EXPECT_EQ(f.bUnderlineType, CFU_UNDERLINE);
  const struct {
    DWORD mask, effects;
    BYTE type;
    bool underlined;
    BYTE type_read;
  } steps[] = {
      {CFM_UNDERLINETYPE, 0, CFU_UNDERLINE, true, CFU_UNDERLINE},
      {CFM_UNDERLINETYPE, 0, CFU_UNDERLINENONE, false, CFU_UNDERLINENONE},
      {CFM_UNDERLINETYPE, 0, CFU_UNDERLINEDOUBLE, true, CFU_UNDERLINEDOUBLE},
      {CFM_UNDERLINETYPE | CFM_UNDERLINE, 0, CFU_UNDERLINEDOUBLE, false, CFU_UNDERLINEDOUBLE},
      {CFM_UNDERLINE, CFE_UNDERLINE, 0, true, CFU_UNDERLINEDOUBLE},
  };
  for (const auto& s : steps) {
    CHARFORMAT2A change = Record(s.mask);
    change.dwEffects = s.effects;
    change.bUnderlineType = s.type;
    SetRecord(SCF_SELECTION, change);
    f = ReadFormat(0, -1);
    const DWORD both = CFM_UNDERLINE | CFM_UNDERLINETYPE;
    EXPECT_EQ(f.dwMask & both, both) << s.mask << " " << int(s.type);
    EXPECT_EQ((f.dwEffects & CFE_UNDERLINE) != 0, s.underlined) << s.mask << " " << int(s.type);
    EXPECT_EQ(f.bUnderlineType, s.type_read) << s.mask << " " << int(s.type);
  }

  // The short record neither sets nor reports what only CHARFORMAT2 has.
  CHARFORMATA small;
  memset(&small, 0, sizeof small);
  small.cbSize = sizeof small;
  small.dwMask = CFM_ALL2;
  small.dwEffects = CFM_EFFECTS2;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&small));
  Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&small));
  EXPECT_EQ(small.dwMask & (CFM_ALL2 & ~CFM_ALL), 0u);
  EXPECT_EQ(small.dwEffects & (CFM_EFFECTS2 & ~CFM_EFFECTS), 0u);
}

}  // namespace
