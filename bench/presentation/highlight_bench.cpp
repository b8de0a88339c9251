// Time and messages of ApplyHighlighting over generated Java sources of 1,000
// and 10,000 lines, and how both grow between the two; the same for the
// Kotlin view's highlighting over generated Kotlin; and what printing a view
// shown dark adds: the light copy it prints from.
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "bench/bench_clock.h"
#include "decompile/class_text.h"
#include "presentation/bytecode_highlighter.h"
#include "presentation/header_lines.h"
#include "presentation/java_highlighter.h"
#include "presentation/kotlin_highlighter.h"
#include "presentation/light_copy.h"
#include "tests/windows/presentation/richedit_window.h"
#include "tests/windows/test_support.h"

namespace {

// Lines of a source from body's patterns in turn, each given its line's number
// (and seven times it), or every twelfth a letter; head on top, "}" last.
std::string Generate(const char* const* body, size_t count, const std::string& head, int lines) {
  std::string source = head;
  char line[160];
  for (int i = 5; i < lines - 1; ++i) {
    const char* pattern = body[i % count];
    if (i % 12 == 5) {
      snprintf(line, sizeof line, pattern, 'a' + i % 26);
    } else {
      snprintf(line, sizeof line, pattern, i, i * 7);
    }
    source += line;
    source += "\r\n";
  }
  source += "}\r\n";
  return source;
}

// A decompiled-looking class: declarations, statements, literals and comments
// in the proportions a decompiler's output tends to have.
std::string GenerateSource(int lines) {
  static const char* const body[] = {
      "    public static final int LIMIT_%d = %d;",
      "    private String name%d = \"value %d\";",
      "    // field %d holds the count of %d items",
      "    protected void method%d(int a, long b) throws Exception {",
      "        if (a > %d && b != 0L) return;",
      "        char c = '%c';",
      "        for (int i = 0; i < %d; i++) total += i / 2;",
      "        /* block comment %d over %d words */",
      "        String s = \"text with \\\"quote\\\" %d\" + x%d;",
      "    }",
      "",
      "        synchronized (this) { counter%d++; }",
  };
  return Generate(body, sizeof body / sizeof body[0],
                  "package org.example.bench;\r\n\r\nimport java.util.List;\r\n\r\n"
                  "public class Generated extends Object implements Runnable {\r\n",
                  lines);
}

// Kotlin as Vineflower's Kotlin plugin writes it, in the same proportions:
// declarations with modifiers, accessors, templates, literals, comments.
std::string GenerateKotlin(int lines) {
  static const char* const body[] = {
      "    public const val LIMIT_%d: Int = %d",
      "    private var name%d: String = \"value $x %d\"",
      "    // field %d holds the count of %d items",
      "    public override fun method%d(a: Int, b: Long): Boolean {",
      "        if (a > %d && b != 0L) return false",
      "        val c: Char = '%c'",
      "        for (i in 0 until %d) total += i / 2",
      "        /* block comment %d over %d words */",
      "        val s: String = \"text ${a + %d} with \\\"quote\\\" $b%d\"",
      "    }",
      "",
      "        get() = counter%d + data.size",
  };
  return Generate(body, sizeof body / sizeof body[0],
                  "package org.example.bench\r\n\r\nimport java.util.List\r\n\r\n"
                  "public data class Generated(val first: Int) : Runnable {\r\n",
                  lines);
}

// The process's committed memory (Wine leaves PrivateUsage unset). The scan
// itself allocates nothing; what grows is the control's own format runs.
size_t CommittedBytes() {
  PROCESS_MEMORY_COUNTERS counters;
  memset(&counters, 0, sizeof counters);
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

struct Figures {
  int lines;
  size_t characters;
  double best_ms;          // best of three, the control not subclassed
  long long memory_delta;  // most committed memory one highlight added
  long long messages;      // counted in one further run through the subclassed control
  long long word_breaks;
  long long fetches;
  long long searches;
  long long formats;
  size_t styled;
};

double HighlightMilliseconds(RichEditWindow& window) {
  double start = NowMs();
  ApplyHighlighting(window.control(), LightPalette);
  return NowMs() - start;
}

struct CopyFigures {
  double best_ms;          // best of three
  long long memory_delta;  // committed memory while the copy exists, at most
};

// A dark view of the source, then its light copy made and destroyed three times.
CopyFigures MeasureLightCopy(RichEditWindow& window, int lines) {
  CopyFigures f = {1e30, 0};
  window.SetHooked(false);
  window.SetText(GenerateSource(lines));
  ApplyHighlighting(window.control(), DarkPalette);
  InsertHeaderLines(window.control(), 0, 0, DarkPalette);
  for (int repeat = 0; repeat < 3; ++repeat) {
    size_t before = CommittedBytes();
    double start = NowMs();
    HWND copy = CreateLightCopy(window.control(), DarkJavaView);
    double ms = NowMs() - start;
    long long grown = static_cast<long long>(CommittedBytes()) - static_cast<long long>(before);
    if (copy != nullptr) DestroyWindow(copy);
    if (ms < f.best_ms) f.best_ms = ms;
    if (grown > f.memory_delta) f.memory_delta = grown;
  }
  return f;
}

Figures Measure(RichEditWindow& window, int lines) {
  Figures f = {};
  f.lines = lines;
  f.best_ms = 1e30;
  std::string source = GenerateSource(lines);
  f.characters = source.size();

  window.SetHooked(false);
  for (int repeat = 0; repeat < 3; ++repeat) {
    window.SetText(source);
    size_t before = CommittedBytes();
    double ms = HighlightMilliseconds(window);
    if (ms < f.best_ms) f.best_ms = ms;
    long long grown = static_cast<long long>(CommittedBytes()) - static_cast<long long>(before);
    if (grown > f.memory_delta) f.memory_delta = grown;
  }

  window.SetHooked(true);
  window.keep_fetches = false;
  window.SetText(source);
  window.StartRecording();
  ApplyHighlighting(window.control(), LightPalette);
  window.StopRecording();
  f.messages = window.messages();
  f.word_breaks = window.messages(EM_FINDWORDBREAK);
  f.fetches = window.messages(EM_GETTEXTRANGE);
  f.searches = window.messages(EM_FINDTEXTW);
  f.formats = window.messages(EM_SETCHARFORMAT);
  f.styled = window.styled().size();
  return f;
}

// The bytecode view of a real class (commons-lang3's StrBuilder, the
// bridge benchmark's data): reading it, setting it and its highlighting in
// its two passes, best of three each.
void MeasureBytecodeView(RichEditWindow& window) {
  const std::wstring file = ExeDirectory() + L"real_bench_data\\StrBuilder.class";
  double read = 1e30, set = 1e30, java = 1e30, whole = 1e30;
  std::wstring text;
  for (int repeat = 0; repeat < 3; ++repeat) {
    std::string error;
    double start = NowMs();
    if (!BytecodeTextOf(ReadClassBytes(file.c_str()), &text, &error)) {
      fprintf(stderr, "StrBuilder.class: %s\n", error.c_str());
      return;
    }
    read = std::min(read, NowMs() - start);
    window.SetHooked(false);
    start = NowMs();
    SetWindowTextW(window.control(), text.c_str());
    set = std::min(set, NowMs() - start);
    start = NowMs();
    ApplyHighlighting(window.control(), LightPalette);
    java = std::min(java, NowMs() - start);
    start = NowMs();
    ApplyBytecodeHighlighting(window.control(), text.c_str(), LightPalette);
    whole = std::min(whole, NowMs() - start);
  }
  printf(
      "bytecode view of StrBuilder (%d lines): read %.1f ms, set %.1f ms, the Java "
      "highlighting alone %.1f ms, the bytecode's %.1f ms\n",
      static_cast<int>(SendMessageW(window.control(), EM_GETLINECOUNT, 0, 0)), read, set, java,
      whole);
}

// The Kotlin view's highlighting over generated Kotlin: best of three, and the
// messages of one further run.
void MeasureKotlin(RichEditWindow& window, int lines) {
  const std::string source = GenerateKotlin(lines);
  const std::wstring wide(source.begin(), source.end());
  double best = 1e30;
  window.SetHooked(false);
  for (int repeat = 0; repeat < 3; ++repeat) {
    window.SetText(source);
    const double start = NowMs();
    ApplyKotlinHighlighting(window.control(), wide.c_str(), LightPalette);
    best = std::min(best, NowMs() - start);
  }
  window.SetHooked(true);
  window.keep_fetches = false;
  window.SetText(source);
  window.StartRecording();
  ApplyKotlinHighlighting(window.control(), wide.c_str(), LightPalette);
  window.StopRecording();
  printf("Kotlin %d lines (%zu chars): best %.1f ms, %.1f us/line, %lld messages, %zu styled\n",
         lines, source.size(), best, 1000.0 * best / lines, window.messages(),
         window.styled().size());
}

}  // namespace

int main() {
  RichEditWindow window;
  if (window.control() == nullptr) {
    fprintf(stderr, "no RichEdit20W control (is the stand-in riched20.dll beside the exe?)\n");
    return 1;
  }
  Figures small = Measure(window, 1000);
  Figures large = Measure(window, 10000);
  printf("%-6s %8s %9s %8s %9s %10s %8s %8s %8s %8s\n", "lines", "chars", "best ms", "us/line",
         "messages", "wordbreak", "fetch", "find", "format", "styled");
  for (const Figures& f : {small, large}) {
    printf("%-6d %8zu %9.1f %8.1f %9lld %10lld %8lld %8lld %8lld %8zu\n", f.lines, f.characters,
           f.best_ms, 1000.0 * f.best_ms / f.lines, f.messages, f.word_breaks, f.fetches,
           f.searches, f.formats, f.styled);
  }
  printf(
      "committed memory grown by one highlight, at most: %lld B (1,000 lines), %lld B (10,000)\n",
      small.memory_delta, large.memory_delta);
  printf("growth 1,000 -> 10,000 lines: time x%.2f, messages x%.2f (text x%.2f)\n",
         large.best_ms / small.best_ms,
         static_cast<double>(large.messages) / static_cast<double>(small.messages),
         static_cast<double>(large.characters) / static_cast<double>(small.characters));
  MeasureKotlin(window, 1000);
  MeasureKotlin(window, 10000);
  MeasureBytecodeView(window);
  CopyFigures smallCopy = MeasureLightCopy(window, 1000);
  CopyFigures largeCopy = MeasureLightCopy(window, 10000);
  printf(
      "light copy of a dark view (printing it): best %.1f ms, %lld B (1,000 lines); "
      "%.1f ms, %lld B (10,000)\n",
      smallCopy.best_ms, smallCopy.memory_delta, largeCopy.best_ms, largeCopy.memory_delta);
  return 0;
}
