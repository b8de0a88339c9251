// The light palette's records, and the light copy a dark view prints from.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
#include "presentation/light_copy.h"
#include "presentation/text_styles.h"
#include "tests/windows/presentation/richedit_window.h"
#include "tests/windows/test_support.h"

namespace {

CHARFORMAT2A ExpectedStyle(DWORD mask, DWORD effects, COLORREF color, BYTE charset,
                           const char* face) {
  CHARFORMAT2A style;
  memset(&style, 0, sizeof style);
  style.cbSize = 84;
  style.dwMask = mask;
  style.dwEffects = effects;
  style.crTextColor = color;
  style.bCharSet = charset;
  memcpy(style.szFaceName, face, strlen(face));
  return style;
}

// The light records are the five the viewer always applied, byte for byte:
// cbSize 84, the listed fields, zero elsewhere (padding included); the plain
// one only undoes a dark view. (The dark view is read back through the host.)
TEST(PaletteTest, LightRecordsAreTheViewersOwn) {
  static_assert(sizeof(CHARFORMAT2A) == 84, "CHARFORMAT2A is 84 bytes");
  const struct {
    const CHARFORMAT2A* actual;
    CHARFORMAT2A expected;
  } light[] = {
      {&LightPalette.base, ExpectedStyle(0x28000001, 0, 0, 1, "Courier New")},
      {&LightPalette.keyword, ExpectedStyle(0x40000001, 1, 0x0055007F, 0, "")},
      {&LightPalette.string, ExpectedStyle(0x40000001, 0, 0x00C00000, 0, "")},
      {&LightPalette.comment, ExpectedStyle(0x40000001, 0, 0x005F7F3F, 0, "")},
      {&LightPalette.banner, ExpectedStyle(0x40000001, 1, 0x008080FF, 0, "")},
      {&LightPalette.plain, ExpectedStyle(CFM_COLOR, CFE_AUTOCOLOR, 0, 0, "")},
  };
  for (const auto& c : light) {
    EXPECT_EQ(memcmp(c.actual, &c.expected, 84), 0) << "light record " << (&c - light);
  }
}

std::string TextOf(HWND control) {
  std::string text(GetWindowTextLengthA(control) + 1, '\0');
  text.resize(GetWindowTextA(control, &text[0], static_cast<int>(text.size())));
  return text;
}

// One line per run of equal formats: its start, boldness, colour and typeface.
std::string FormatsOf(HWND control) {
  int length = GetWindowTextLengthA(control);
  std::string out, previous;
  for (int i = 0; i < length; ++i) {
    CHARFORMAT2A f = ReadCharFormatAt(control, i);
    std::string format =
        std::string((f.dwEffects & CFE_BOLD) ? "bold " : "") +
        ((f.dwEffects & CFE_AUTOCOLOR) ? std::string("auto") : std::to_string(f.crTextColor)) +
        " " + f.szFaceName;
    if (format != previous) out += std::to_string(i) + " " + format + "\n";
    previous = format;
  }
  return out;
}

// The copy holds the view's text and selection and looks as the light view of
// the same text does; the shown view keeps its own formats.
TEST(PaletteTest, TheLightCopyOfADarkViewLooksLikeTheLightView) {
  const std::string source =
      "/* block */\r\npublic class A {\r\n  // note\r\n  String s = \"hi\"; char c = 'x';\r\n}";
  RichEditWindow light, dark;
  for (RichEditWindow* window : {&light, &dark}) {
    const TextPalette& palette = window == &light ? LightPalette : DarkPalette;
    window->SetText(source);
    ApplyHighlighting(window->control(), palette);
    InsertHeaderLines(window->control(), 250, 7, palette);
  }
  SendMessageA(dark.control(), EM_SETSEL, 40, 52);
  std::string darkFormats = FormatsOf(dark.control());
  SendMessageA(dark.control(), EM_SETSEL, 40, 52);

  HWND copy = CreateLightCopy(dark.control(), DarkJavaView);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(TextOf(copy), TextOf(dark.control()));
  int start = 0, end = 0;
  SendMessageA(copy, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 40);
  EXPECT_EQ(end, 52);
  EXPECT_EQ(FormatsOf(copy), FormatsOf(light.control()));
  DestroyWindow(copy);
  EXPECT_EQ(FormatsOf(dark.control()), darkFormats);

  // A plain view's copy is plain text in the control's own colour.
  dark.SetText("1: int x;\r2: // y");
  SendMessageA(dark.control(), EM_SETCHARFORMAT, SCF_ALL,
               reinterpret_cast<LPARAM>(const_cast<CHARFORMAT2A*>(&DarkPalette.plain)));
  copy = CreateLightCopy(dark.control(), DarkTextView);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(TextOf(copy), TextOf(dark.control()));
  for (int i = 0; i < GetWindowTextLengthA(copy); ++i) {
    EXPECT_TRUE(ReadCharFormatAt(copy, i).dwEffects & CFE_AUTOCOLOR) << "at " << i;
  }
  DestroyWindow(copy);
}

}  // namespace
