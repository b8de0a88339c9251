// Times the control's hot paths on a 1 MB text, the way the highlighter drives
// them, and prints the figures with the process's memory.
#include <richedit.h>
#include <windows.h>
// After windows.h.
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double MemoryMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

std::string JavaLikeText(size_t bytes) {
  std::string text;
  text.reserve(bytes + 128);
  char line[128];
  for (int i = 0; text.size() < bytes; ++i) {
    snprintf(line, sizeof line, "    public static int value_%d = compute(\"%d\"); // note %d\r\n",
             i, i, i);
    text += line;
  }
  return text;
}

CHARFORMAT2A Style(DWORD effects, COLORREF color) {
  CHARFORMAT2A f = {};
  f.cbSize = sizeof f;
  f.dwMask = CFM_COLOR | CFM_BOLD;
  f.dwEffects = effects;
  f.crTextColor = color;
  return f;
}

}  // namespace

int main() {
  if (LoadLibraryA("Riched20.dll") == nullptr) {
    fprintf(stderr, "Riched20.dll did not load\n");
    return 1;
  }
  HWND control = CreateWindowExA(0, "RichEdit20A", "", 0x40300904 & ~WS_CHILD, 0, 0, 800, 600,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (control == nullptr) {
    fprintf(stderr, "no control\n");
    return 1;
  }
  const double memory_before = MemoryMegabytes();
  const std::string text = JavaLikeText(1 << 20);
  LARGE_INTEGER start = Now();
  SetWindowTextA(control, text.c_str());
  const double set_text = Seconds(start, Now());
  GETTEXTLENGTHEX how = {GTL_DEFAULT, CP_ACP};
  const int length = static_cast<int>(
      SendMessageA(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));

  CHARFORMAT2A styles[] = {Style(CFE_BOLD, RGB(127, 0, 85)), Style(0, RGB(0, 0, 192)),
                           Style(0, RGB(63, 127, 95))};
  CHARFORMAT2A base = {};
  base.cbSize = sizeof base;
  base.dwMask = CFM_FACE | CFM_CHARSET | CFM_BOLD;
  base.bCharSet = DEFAULT_CHARSET;
  lstrcpyA(base.szFaceName, "Courier New");
  SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));

  // 20,000 short ranges spread over the whole text, in text order as the
  // highlighter styles them.
  const int pairs = 20000;
  const int stride = static_cast<int>(text.size()) / pairs;
  start = Now();
  for (int i = 0; i < pairs; ++i) {
    CHARRANGE range = {i * stride, i * stride + 1 + i % 30};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&styles[i % 3]));
  }
  const double styling = Seconds(start, Now());

  // 100,000 word breaks, walking the text from the start as the highlighter does.
  const int breaks = 100000;
  int position = 0;
  start = Now();
  for (int i = 0; i < breaks; ++i) {
    position =
        static_cast<int>(SendMessageA(control, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, position));
  }
  const double word_breaks = Seconds(start, Now());

  // The same styling while the control is shown (scroll bars and repaint
  // requests kept up to date after every change).
  ShowWindow(control, SW_SHOW);
  start = Now();
  for (int i = 0; i < pairs; ++i) {
    CHARRANGE range = {i * stride, i * stride + 1 + i % 30};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&styles[(i + 1) % 3]));
  }
  const double styling_shown = Seconds(start, Now());

  // Inserting a header line at the top of the styled text.
  SendMessageA(control, EM_SETSEL, 0, 0);
  start = Now();
  SendMessageA(control, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("// header\r\n"));
  const double insert_top = Seconds(start, Now());

  printf("text: %d bytes with CR LF, %d characters in the control, set in %.1f ms\n",
         static_cast<int>(text.size()), length, set_text * 1000.0);
  printf("EM_EXSETSEL + EM_SETCHARFORMAT: %d pairs in %.1f ms (%.2f us per pair)\n", pairs,
         styling * 1000.0, styling * 1e6 / pairs);
  printf("the same pairs while shown: %.1f ms (%.2f us per pair)\n", styling_shown * 1000.0,
         styling_shown * 1e6 / pairs);
  printf("EM_FINDWORDBREAK: %d calls in %.1f ms (%.2f us per call), reached position %d\n", breaks,
         word_breaks * 1000.0, word_breaks * 1e6 / breaks, position);
  printf("EM_REPLACESEL at the top of the styled text: %.1f ms\n", insert_top * 1000.0);
  printf("memory: %.1f MB before the text, %.1f MB after\n", memory_before, MemoryMegabytes());
  DestroyWindow(control);
  return 0;
}
