// A hidden rich-edit control ("RichEdit20W" from Riched20.dll, the stand-in
// beside the executable) inside a hidden parent window, with a window-procedure
// hook that can count and record what is sent to it. Shared by the
// presentation tests and the highlighting benchmark.
#pragma once

#include <windows.h>
// windows.h first: the rich-edit header needs its types.
#include <richedit.h>

#include <map>
#include <string>
#include <vector>

// One EM_EXSETSEL followed by EM_SETCHARFORMAT (SCF_SELECTION): a styled range.
struct StyledRange {
  int start;
  int end;
  const CHARFORMAT2A* style;  // the matching module style record, or null

  bool operator==(const StyledRange& other) const {
    return start == other.start && end == other.end && style == other.style;
  }
};

class RichEditWindow {
 public:
  RichEditWindow();
  ~RichEditWindow();
  RichEditWindow(const RichEditWindow&) = delete;
  RichEditWindow& operator=(const RichEditWindow&) = delete;

  HWND control() const { return control_; }

  // text in UTF-8.
  void SetText(const std::string& text);
  // The control's text as it holds it (read back, line ends as it stores
  // them), in UTF-16 and in UTF-8.
  std::wstring WideText() const;
  std::string Text() const;

  // Per character: 'K' keyword, 'S' string, 'C' comment, '.' base (the control's
  // default colour, not bold), '?' anything else.
  std::string StyleLetters() const;
  std::string FaceAt(int position) const;
  void Selection(int* start, int* end) const;

  // Recording of what the control receives while it is on. The hook stays in
  // the control's window procedure unless taken out (for timings without it).
  void SetHooked(bool hooked);
  void StartRecording();
  void StopRecording() { recording_ = false; }
  long long messages() const { return messages_; }
  long long messages(UINT message) const {
    auto found = by_message_.find(message);
    return found == by_message_.end() ? 0 : found->second;
  }
  const std::vector<StyledRange>& styled() const { return styled_; }
  // Every EM_GETTEXTRANGE request, as asked.
  const std::vector<CHARRANGE>& fetches() const { return fetches_; }
  bool keep_fetches = true;

 private:
  static LRESULT CALLBACK Hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  CHARFORMAT2A FormatAt(int position) const;

  HWND parent_ = nullptr;
  HWND control_ = nullptr;
  WNDPROC original_ = nullptr;
  bool recording_ = false;
  long long messages_ = 0;
  CHARRANGE pending_selection_ = {-1, -1};
  std::map<UINT, long long> by_message_;
  std::vector<StyledRange> styled_;
  std::vector<CHARRANGE> fetches_;
};
