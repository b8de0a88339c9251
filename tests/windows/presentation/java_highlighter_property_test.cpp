// The highlighting pass against a model of its rules, written here from the
// rules alone, on generated Java-like texts. The model shares only the
// control's word breaks (EM_FINDWORDBREAK) with the pass; it reads the text
// out whole and searches it itself.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "presentation/java_highlighter.h"
#include "presentation/text_styles.h"
#include "tests/windows/presentation/richedit_window.h"

namespace {

std::set<std::string> LanguageKeywords() {
  std::istringstream list(
      "abstract assert boolean break byte case catch char class const continue default do "
      "double else enum extends final finally float for goto if implements import instanceof "
      "int interface long native new package private protected public return short static "
      "strictfp super switch synchronized this throw throws transient try void volatile while");
  std::set<std::string> words;
  for (std::string word; list >> word;) words.insert(word);
  return words;
}

int NextWord(HWND control, int position) {
  return static_cast<int>(SendMessageA(control, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, position));
}

// Whether an odd run of backslashes, none before from, stands directly before at.
bool Escaped(const std::string& text, size_t at, size_t from) {
  size_t k = at;
  while (k > from && text[k - 1] == '\\') --k;
  return (at - k) % 2 == 1;
}

// What the pass must style, in order: words come from the control; of each only
// the first 127 characters, up to the first space, count; the first slash or
// quote in them opens a comment or literal that runs through its closer (found
// from behind the opener) or through the reported text length plus the closer's
// length; three quotes open a text block, which an escaped first quote of three
// does not close; otherwise a keyword is styled up to the space or over the
// range. escapes counts the escaped closers passed over.
std::vector<StyledRange> Model(HWND control, const std::string& text,
                               const std::set<std::string>& keywords, int* escapes) {
  const int length = static_cast<int>(text.size());
  std::vector<StyledRange> expected;
  int start = 0;
  int end = NextWord(control, 0);
  while (start < length && end > start) {
    std::string fetched = text.substr(start, std::min(end - start, 127));
    size_t space = fetched.find(' ');
    std::string word = fetched.substr(0, space);
    size_t opener = word.find_first_of("/\"'");
    if (opener == std::string::npos) {
      if (keywords.count(word) != 0) {
        int stop = space == std::string::npos ? end : start + static_cast<int>(word.size());
        expected.push_back({start, stop, &LightPalette.keyword});
      }
      start = NextWord(control, start);
      end = NextWord(control, start);
      continue;
    }
    std::string pair = word.substr(opener, 2);
    std::string closer;
    const CHARFORMAT2A* style = &LightPalette.string;
    if (pair == "//") {
      closer = "\r";
      style = &LightPalette.comment;
    } else if (pair == "/*") {
      closer = "*/";
      style = &LightPalette.comment;
    } else if (word.compare(opener, 3, "\"\"\"") == 0) {
      closer = "\"\"\"";
    } else if (word[opener] != '/') {
      closer = word.substr(opener, 1);
    }
    if (closer.empty()) {  // a lone slash
      start = NextWord(control, start);
      end = NextWord(control, start);
      continue;
    }
    int from = start + static_cast<int>(opener);
    size_t found = text.find(closer, from + closer.size());
    while (closer.size() == 3 && found != std::string::npos && Escaped(text, found, from + 3)) {
      ++*escapes;
      found = text.find(closer, found + 1);
    }
    // No closer: the length the control reports, which counts a line break as
    // CR LF and so may lie beyond the last position; the selection is cut there.
    int through =
        (found == std::string::npos ? GetWindowTextLengthA(control) : static_cast<int>(found)) +
        static_cast<int>(closer.size());
    expected.push_back({from, through, style});
    start = through;
    end = NextWord(control, start);
  }
  return expected;
}

// With textBlocks, """, \""" and \\""" are among the pieces too.
std::string GenerateText(std::mt19937& random, bool textBlocks) {
  static const char* const pieces[] = {
      "int",  "if", "class", "public", "while",    "throws",    "Int", "INT", "null",
      "true", "x",  "i2",    "name",   "\"",       "'",         "/",   "//",  "/*",
      "*/",   "*",  "\\\"",  "\\",     ";",        "=",         "(",   ")",   "+",
      "0",    "/=", "{",     "\"\"\"", "\\\"\"\"", "\\\\\"\"\""};
  const size_t piece_count = sizeof pieces / sizeof pieces[0] - (textBlocks ? 0 : 3);
  static const char* const separators[] = {"", "", " ", " ", "  ", "\t", "\r\n", "\r", "\n"};
  std::string text;
  int count = static_cast<int>(random() % 40);
  for (int i = 0; i < count; ++i) {
    if (random() % 25 == 0) {
      text += std::string(100 + random() % 120, static_cast<char>('a' + random() % 26));
    } else {
      text += pieces[random() % piece_count];
    }
    text += separators[random() % (sizeof separators / sizeof separators[0])];
  }
  return text;
}

std::string Describe(const std::vector<StyledRange>& ranges) {
  std::ostringstream out;
  for (const StyledRange& r : ranges) {
    char letter = r.style == &LightPalette.keyword   ? 'K'
                  : r.style == &LightPalette.string  ? 'S'
                  : r.style == &LightPalette.comment ? 'C'
                                                     : '?';
    out << letter << '[' << r.start << ',' << r.end << ") ";
  }
  return out.str();
}

TEST(HighlightPropertyTest, PassStylesWhatTheModelPredictsOnGeneratedTexts) {
  RichEditWindow window;
  ASSERT_NE(window.control(), nullptr);
  const std::set<std::string> keywords = LanguageKeywords();
  std::mt19937 random(20261207);
  int mismatches = 0;
  int counts[3] = {0, 0, 0};  // keywords, literals, comments
  int cut_fetches = 0;
  int text_blocks = 0;
  int escapes = 0;
  const int texts = 3000;
  const int text_block_texts = 600;  // behind the others, which stay as they were
  for (int run = 0; run < texts + text_block_texts && mismatches < 3; ++run) {
    window.SetText(GenerateText(random, run >= texts));
    const std::string text = window.Text();
    std::vector<StyledRange> expected = Model(window.control(), text, keywords, &escapes);

    window.StartRecording();
    HighlightJava(window.control(), LightPalette);
    window.StopRecording();

    for (const StyledRange& r : expected) {
      ++counts[r.style == &LightPalette.keyword ? 0 : r.style == &LightPalette.string ? 1 : 2];
      if (text.compare(static_cast<size_t>(r.start), 3, "\"\"\"") == 0) ++text_blocks;
    }
    if (window.styled() != expected) {
      ++mismatches;
      ADD_FAILURE() << "run " << run << ", text \"" << text << "\"\n  expected "
                    << Describe(expected) << "\n  styled   " << Describe(window.styled());
    }
    for (const CHARRANGE& fetch : window.fetches()) {
      ASSERT_TRUE(fetch.cpMax >= fetch.cpMin && fetch.cpMax - fetch.cpMin <= 127)
          << "run " << run << " fetched " << fetch.cpMin << ".." << fetch.cpMax;
      if (fetch.cpMax - fetch.cpMin == 127) ++cut_fetches;
    }
  }
  // The generator must reach every construct, and ranges too long for the buffer.
  EXPECT_GT(counts[0], texts);
  EXPECT_GT(counts[1], texts / 2);
  EXPECT_GT(counts[2], texts / 2);
  EXPECT_GT(cut_fetches, texts / 10);
  EXPECT_GT(text_blocks, text_block_texts / 10);
  EXPECT_GT(escapes, 10);
}

}  // namespace
