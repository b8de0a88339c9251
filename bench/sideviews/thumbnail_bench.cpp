// The class thumbnail against the bytecode view, in one run on the same
// classes: the class read and the view's text (ReadClassBytes, as the run
// reads it, and BytecodeTextOf, as the view writes it) and
// ListGetPreviewBitmapW at 96 and 256 pixels through the built plugin
// (reading the file, the glance, the drawing). The median of RUNS each.
//   scripts/wine-run build/windows/bin/thumbnail_bench.exe [RUNS]   (default 21)
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "decompile/class_text.h"
#include "host/listplug.h"
#include "tests/windows/test_support.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string FirstBytes(const std::wstring& path) {
  std::string bytes(8192, '\0');
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD n = 0;
  if (file != INVALID_HANDLE_VALUE) {
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(file);
  }
  bytes.resize(n);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : 21;
  if (runs < 1) runs = 1;
  LoadedPlugin plugin;
  auto preview = plugin.Export<decltype(&ListGetPreviewBitmapW)>("ListGetPreviewBitmapW");
  if (preview == nullptr) {
    printf("the plugin is missing\n");
    return 1;
  }
  printf("%-22s %10s %12s %12s  (ms, median of %d)\n", "class", "bytecode", "thumb 96", "thumb 256",
         runs);
  for (const wchar_t* name : {L"Maps", L"PublicSuffixPatterns", L"StrBuilder"}) {
    std::wstring path = ExeDirectory() + L"thumbnail_bench_data\\" + name + L".class";
    std::string first = FirstBytes(path);
    if (first.empty()) {
      printf("%ls: not there\n", name);
      continue;
    }
    std::vector<double> view, small, large;
    for (int i = 0; i < runs; ++i) {
      std::wstring text;
      std::string error;
      std::vector<MethodPlace> places;
      double start = NowMs();
      BytecodeTextOf(ReadClassBytes(path.c_str()), &text, &error, &places);
      view.push_back(NowMs() - start);
      for (int size : {96, 256}) {
        start = NowMs();
        HBITMAP bitmap = preview(const_cast<WCHAR*>(path.c_str()), size, size, &first[0],
                                 static_cast<int>(first.size()));
        (size == 96 ? small : large).push_back(NowMs() - start);
        DeleteObject(bitmap);
      }
    }
    printf("%-22ls %10.2f %12.2f %12.2f  thumbnail/view x%.2f, x%.2f\n", name, Median(view),
           Median(small), Median(large), Median(small) / Median(view),
           Median(large) / Median(view));
  }
  return 0;
}
