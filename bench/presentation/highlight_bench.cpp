// Time and messages of ApplyHighlighting over generated Java sources of 1,000
// and 10,000 lines, and how both grow between the two.
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#include <stdio.h>

#include <string>

#include "presentation/java_highlighter.h"
#include "tests/windows/presentation/richedit_window.h"

namespace {

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
  std::string source = "package org.example.bench;\r\n\r\nimport java.util.List;\r\n\r\n";
  source += "public class Generated extends Object implements Runnable {\r\n";
  char line[160];
  for (int i = 5; i < lines - 1; ++i) {
    const char* pattern = body[i % (sizeof body / sizeof body[0])];
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

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters;
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage;
}

struct Figures {
  int lines;
  size_t characters;
  double best_ms;
  long long messages;
  size_t styled;
  long long memory_delta;
};

Figures Measure(RichEditWindow& window, int lines) {
  Figures f = {lines, 0, 1e30, 0, 0, 0};
  std::string source = GenerateSource(lines);
  f.characters = source.size();
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  window.keep_fetches = false;
  for (int repeat = 0; repeat < 3; ++repeat) {
    window.SetText(source);
    size_t before = PrivateBytes();
    window.StartRecording();
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    QueryPerformanceCounter(&t0);
    ApplyHighlighting(window.control());
    QueryPerformanceCounter(&t1);
    window.StopRecording();
    double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                static_cast<double>(frequency.QuadPart);
    if (ms < f.best_ms) f.best_ms = ms;
    f.messages = window.messages();
    f.styled = window.styled().size();
    f.memory_delta = static_cast<long long>(PrivateBytes()) - static_cast<long long>(before);
  }
  return f;
}

}  // namespace

int main() {
  RichEditWindow window;
  if (window.control() == nullptr) {
    fprintf(stderr, "no RichEdit20A control (is the stand-in riched20.dll beside the exe?)\n");
    return 1;
  }
  Figures small = Measure(window, 1000);
  Figures large = Measure(window, 10000);
  printf("%-8s %10s %12s %12s %10s %12s %14s\n", "lines", "chars", "best ms", "messages", "styled",
         "msgs/line", "private delta");
  for (const Figures& f : {small, large}) {
    printf("%-8d %10zu %12.1f %12lld %10zu %12.2f %12lld B\n", f.lines, f.characters, f.best_ms,
           f.messages, f.styled, static_cast<double>(f.messages) / f.lines, f.memory_delta);
  }
  printf("growth 1,000 -> 10,000 lines: time x%.2f, messages x%.2f (text x%.2f)\n",
         large.best_ms / small.best_ms,
         static_cast<double>(large.messages) / static_cast<double>(small.messages),
         static_cast<double>(large.characters) / static_cast<double>(small.characters));
  return 0;
}
