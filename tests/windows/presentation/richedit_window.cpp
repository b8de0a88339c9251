#include "tests/windows/presentation/richedit_window.h"

#include <string.h>

#include "presentation/text_styles.h"
#include "tests/windows/test_support.h"

namespace {

const char ParentClass[] = "DravikPresentationTestParent";
const char SelfProperty[] = "DravikRichEditWindow";

void RegisterParentClass() {
  WNDCLASSA wc;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = ParentClass;
  RegisterClassA(&wc);  // fails harmlessly when already registered
}

const CHARFORMAT2A* MatchingStyle(const CHARFORMAT2A* format) {
  for (const CHARFORMAT2A* style : {&LightPalette.base, &LightPalette.keyword, &LightPalette.string,
                                    &LightPalette.comment, &LightPalette.banner}) {
    if (memcmp(format, style, sizeof *style) == 0) return style;
  }
  return nullptr;
}

}  // namespace

RichEditWindow::RichEditWindow() {
  LoadLibraryA("Riched20.dll");  // stays loaded for the process, as in the plugin
  RegisterParentClass();
  parent_ = CreateWindowExA(0, ParentClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  control_ =
      CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0,
                      0, 640, 480, parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (control_ != nullptr) {
    SetPropA(control_, SelfProperty, this);
    original_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control_, GWLP_WNDPROC));
    SetHooked(true);
  }
}

// The wide calls: a procedure set with the 8-bit one would make the window an 8-bit one.
void RichEditWindow::SetHooked(bool hooked) {
  WNDPROC procedure = hooked ? &Hook : original_;
  SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

RichEditWindow::~RichEditWindow() {
  if (control_ != nullptr) {
    SetHooked(false);
    RemovePropA(control_, SelfProperty);
  }
  if (parent_ != nullptr) DestroyWindow(parent_);  // takes the control with it
}

LRESULT CALLBACK RichEditWindow::Hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = static_cast<RichEditWindow*>(GetPropA(window, SelfProperty));
  if (self->recording_) {
    ++self->messages_;
    ++self->by_message_[message];
    if (message == EM_EXSETSEL) {
      self->pending_selection_ = *reinterpret_cast<const CHARRANGE*>(lparam);
    } else if (message == EM_SETCHARFORMAT && wparam == SCF_SELECTION) {
      self->styled_.push_back({self->pending_selection_.cpMin, self->pending_selection_.cpMax,
                               MatchingStyle(reinterpret_cast<const CHARFORMAT2A*>(lparam))});
    } else if (message == EM_GETTEXTRANGE && self->keep_fetches) {
      self->fetches_.push_back(reinterpret_cast<const TEXTRANGEW*>(lparam)->chrg);
    }
  }
  return CallWindowProcW(self->original_, window, message, wparam, lparam);
}

void RichEditWindow::StartRecording() {
  recording_ = true;
  messages_ = 0;
  by_message_.clear();
  styled_.clear();
  fetches_.clear();
}

void RichEditWindow::SetText(const std::string& text) {
  SetWindowTextW(control_, FromUtf8(text).c_str());
}

std::wstring RichEditWindow::WideText() const {
  int length = GetWindowTextLengthW(control_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  TEXTRANGEW range;
  range.chrg.cpMin = 0;
  range.chrg.cpMax = length;
  range.lpstrText = &text[0];
  int got = static_cast<int>(
      SendMessageW(control_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::string RichEditWindow::Text() const { return ToUtf8(WideText()); }

CHARFORMAT2A RichEditWindow::FormatAt(int position) const {
  return ReadCharFormatAt(control_, position);
}

std::string RichEditWindow::StyleLetters() const {
  int length = static_cast<int>(WideText().size());
  std::string letters;
  for (int i = 0; i < length; ++i) {
    CHARFORMAT2A format = FormatAt(i);
    bool bold = (format.dwEffects & CFE_BOLD) != 0;
    bool automatic = (format.dwEffects & CFE_AUTOCOLOR) != 0;
    COLORREF color = format.crTextColor;
    char letter = '?';
    if (bold && color == LightPalette.keyword.crTextColor) {
      letter = 'K';
    } else if (!bold && color == LightPalette.string.crTextColor) {
      letter = 'S';
    } else if (!bold && color == LightPalette.comment.crTextColor) {
      letter = 'C';
    } else if (!bold && (automatic || color == RGB(0, 0, 0))) {
      letter = '.';
    }
    letters += letter;
  }
  return letters;
}

std::string RichEditWindow::FaceAt(int position) const { return FormatAt(position).szFaceName; }

void RichEditWindow::Selection(int* start, int* end) const {
  SendMessageW(control_, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
}
