#include "standins/lister/lister_host.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/lister/process_counts.h"
#include "standins/lister/watchdog.h"

namespace {

const wchar_t kFrameClass[] = L"DravikListerFrame";
const wchar_t kPanelClass[] = L"DravikListerPanel";
const int kDetectStringBytes = 2048;

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

bool IsItem(WORD item) { return item == itm_percent || item == itm_fontstyle || item == itm_next; }

}  // namespace

ListerHost::ListerHost(const HostOptions& options)
    : options_(options), current_file_(options.file), force_(options.force), dark_(options.dark) {}

ListerHost::~ListerHost() = default;

int ListerHost::Run() {
  if (!OpenHostLog(options_.log)) {
    fwprintf(stderr, L"lister: cannot write the log %ls\n", options_.log.c_str());
    return 2;
  }
  std::vector<ScriptCommand> commands;
  std::wstring error;
  // Without a script, a user's look at the file: it is loaded, and what the
  // outputs show is the source once it is there.
  if (!ParseScript(options_.has_script ? options_.script : L"load; waitsource", &commands,
                   &error)) {
    LogLine("error %s", Quoted(L"script: " + error).c_str());
    LogLine("exit 2");
    CloseHostLog();
    return 2;
  }
  if (!Start()) {
    LogLine("exit 3");
    CloseHostLog();
    return 3;
  }
  interactive_ = !options_.has_script && options_.dump_text.empty() &&
                 options_.dump_formats.empty() && options_.screenshot.empty();
  int code = 0;
  {
    std::unique_ptr<Watchdog> watchdog;
    if (!interactive_) watchdog.reset(new Watchdog());
    for (const ScriptCommand& command : commands) {
      if (!Execute(command)) {
        code = 2;
        break;
      }
      Pump();
    }
    if (interactive_) {
      MSG msg;
      while (IsWindow(frame_) && GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(&msg);
    } else {
      if (!options_.screenshot.empty()) Screenshot(options_.screenshot);
      if (!options_.dump_text.empty()) DumpText(options_.dump_text);
      if (!options_.dump_formats.empty()) DumpFormats(options_.dump_formats);
    }
    Finish();
  }
  LogLine("exit %d", code);
  CloseHostLog();
  return code;
}

bool ListerHost::Start() {
  if (!LoadPluginModule(options_.plugin, &plugin_)) return false;
  InstallHostHooks(plugin_.module);

  // The host's settings come first, before anything else is asked of the plugin.
  ListDefaultParamStruct params = {};
  params.size = sizeof params;
  params.PluginInterfaceVersionLow = 12;
  params.PluginInterfaceVersionHi = 2;
  std::string ini = Ansi(ExeFolder() + L"lister.ini");
  lstrcpynA(params.DefaultIniName, ini.c_str(), MAX_PATH);
  if (plugin_.ListSetDefaultParams != nullptr) {
    plugin_.ListSetDefaultParams(&params);
    LogLine("ListSetDefaultParams %s %lu.%lu", QuotedAnsi(params.DefaultIniName).c_str(),
            params.PluginInterfaceVersionHi, params.PluginInterfaceVersionLow);
  }
  if (plugin_.ListGetDetectString != nullptr) {
    char detect[kDetectStringBytes] = {};
    plugin_.ListGetDetectString(detect, kDetectStringBytes);
    detect[kDetectStringBytes - 1] = '\0';
    detect_string_ = detect;
    LogLine("ListGetDetectString %s", QuotedAnsi(detect).c_str());
  }
  if (!CreateWindows()) {
    LogLine("error \"the Lister window cannot be created\"");
    if (frame_ != nullptr) DestroyWindow(frame_);
    FreeLibrary(plugin_.module);
    return false;
  }
  return true;
}

void ListerHost::Finish() {
  if (list_ != nullptr) Close();
  if (IsWindow(frame_)) DestroyWindow(frame_);
  Pump();
  FreeLibrary(plugin_.module);
  LogLine("plugin released");
}

bool ListerHost::CreateWindows() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW frame_class = {};
  frame_class.lpfnWndProc = FrameProc;
  frame_class.hInstance = instance;
  frame_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  frame_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frame_class.lpszClassName = kFrameClass;
  RegisterClassW(&frame_class);
  WNDCLASSW panel_class = frame_class;
  panel_class.lpfnWndProc = PanelProc;
  panel_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  panel_class.lpszClassName = kPanelClass;
  RegisterClassW(&panel_class);

  std::wstring title = L"Lister - " + options_.file;
  frame_ = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                           0, options_.width, options_.height, nullptr, nullptr, instance, this);
  if (frame_ == nullptr) return false;
  panel_ = CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                           frame_, nullptr, instance, this);
  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, frame_, nullptr, instance, nullptr);
  if (panel_ == nullptr) return false;
  Layout();
  ShowWindow(frame_, SW_SHOW);
  UpdateWindow(frame_);
  ShowStatus();
  LogLine("window opened");
  return true;
}

void ListerHost::Dispatch(MSG* msg) {
  bool ours = msg->hwnd == frame_ || IsChild(frame_, msg->hwnd);
  if (ours && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
      HandleKey(static_cast<UINT>(msg->wParam), GetKeyState(VK_CONTROL) < 0,
                GetKeyState(VK_SHIFT) < 0)) {
    return;
  }
  // A WM_COMMAND taken from the queue was posted, not sent by a child.
  bool posted = msg->message == WM_COMMAND && (msg->hwnd == frame_ || msg->hwnd == panel_);
  dispatching_posted_ = posted;
  TranslateMessage(msg);
  DispatchMessageW(msg);
  dispatching_posted_ = false;
}

void ListerHost::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    Dispatch(&msg);
  }
}

void ListerHost::PumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    Pump();
    DWORD passed = GetTickCount() - start;
    if (passed >= milliseconds) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
  }
}

void ListerHost::WaitForSource(DWORD milliseconds) {
  if (list_ == nullptr) {
    LogLine("waitsource -> no list window");
    return;
  }
  DWORD start = GetTickCount();
  for (;;) {
    Pump();
    DWORD passed = GetTickCount() - start;
    if (percents_ != percents_at_load_) {
      LogLine("waitsource -> shown after %lu ms", static_cast<unsigned long>(passed));
      return;
    }
    if (passed >= milliseconds) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
  }
  LogLine("waitsource -> not shown after %lu ms", static_cast<unsigned long>(milliseconds));
}

void ListerHost::LogCounts(DWORD milliseconds) {
  const bool first = base_handles_ < 0;
  DWORD start = GetTickCount();
  long handles = ProcessHandleCount();
  long threads = ProcessThreadCount();
  while (!first && (handles > base_handles_ || threads > base_threads_) &&
         GetTickCount() - start < milliseconds) {
    PumpFor(100);
    handles = ProcessHandleCount();
    threads = ProcessThreadCount();
  }
  if (first) {
    base_handles_ = handles;
    base_threads_ = threads;
  }
  LogLine("counts handles %ld threads %ld after %lu ms", handles, threads,
          static_cast<unsigned long>(GetTickCount() - start));
}

bool ListerHost::HandleKey(UINT key, bool ctrl, bool shift) {
  if (ctrl && key == 'C') {
    SendCommand(lc_copy, 0);
  } else if (ctrl && key == 'A') {
    SendCommand(lc_selectall, 0);
  } else if (ctrl && key == 'P') {
    Print();
  } else if (ctrl) {
    return false;
  } else if (key == VK_F7) {
    SearchDialog(false, L"", 0);
  } else if (key == VK_F3) {
    SearchAgain(shift);
  } else if (key >= '0' && key <= '9') {
    SendCommand(lc_setpercent, static_cast<int>(key - '0') * 10);
  } else if (key == 'T') {
    Thumbnail(200, 200, L"", current_file_, true);
  } else if (key == VK_ESCAPE) {
    PostMessageW(frame_, WM_CLOSE, 0, 0);
  } else {
    return false;
  }
  return true;
}

void ListerHost::DeliverKey(UINT key, bool ctrl, bool shift) {
  if (list_ == nullptr) {
    LogLine("error \"no list window\"");
    return;
  }
  BYTE state[256] = {}, saved[256] = {};
  GetKeyboardState(saved);
  memcpy(state, saved, sizeof state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(state);
  // F10 is a system key: the system sends it as one, with or without Alt.
  const bool system = key == VK_F10;
  LRESULT result = SendMessageW(list_, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
  SendMessageW(list_, system ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
  SetKeyboardState(saved);
  const std::string name = key >= VK_F1 && key <= VK_F24 ? "F" + std::to_string(key - VK_F1 + 1)
                                                         : std::string(1, static_cast<char>(key));
  LogLine("key %s%s%s -> list window %ld", ctrl ? "ctrl+" : "", shift ? "shift+" : "", name.c_str(),
          static_cast<long>(result));
  Pump();
}

void ListerHost::ContextMenu(int item, UINT key, bool shift) {
  if (list_ == nullptr) {
    LogLine("error \"no list window\"");
    return;
  }
  // The menu's own loop takes the keys waiting in the queue.
  for (int i = 0; i < item; ++i) PostMessageW(list_, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(list_, WM_KEYDOWN, item > 0 ? VK_RETURN : VK_ESCAPE, 1);
  if (key != 0) {
    DeliverKey(key, false, shift);
  } else {
    RECT area;
    GetWindowRect(list_, &area);
    SendMessageW(list_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_),
                 MAKELPARAM(area.left + 20, area.top + 20));
  }
  LogLine("contextmenu %d", item);
  Pump();
}

std::string ListerHost::WindowName(HWND window) const {
  if (window == nullptr) return "null";
  if (window == list_) return "list";
  return Hex(reinterpret_cast<ULONG_PTR>(window));
}

void ListerHost::RecordPosted(WPARAM wparam, LPARAM lparam, bool to_frame) {
  WORD item = HIWORD(static_cast<DWORD>(wparam));
  short value = static_cast<short>(LOWORD(static_cast<DWORD>(wparam)));
  const char* prefix = to_frame ? "posted-to-frame" : "posted";
  std::string where =
      "wparam=" + Hex(wparam) + " lparam=" + WindowName(reinterpret_cast<HWND>(lparam));
  const char* name = item == itm_percent     ? "itm_percent"
                     : item == itm_fontstyle ? "itm_fontstyle"
                     : item == itm_next      ? "itm_next"
                                             : nullptr;
  if (name != nullptr) {
    LogLine("%s %s %d %s", prefix, name, value, where.c_str());
    if (item == itm_percent) ++percents_;
    last_posted_ = std::string(name) + " " + std::to_string(value);
    if (item == itm_percent) last_posted_ += " %";
  } else {
    LogLine("%s command %s", prefix, where.c_str());
    last_posted_ = "command " + Hex(wparam);
  }
  ShowStatus();
}

LRESULT ListerHost::Forward(UINT message, WPARAM wparam, LPARAM lparam) {
  // Before ListLoadW returns, the control that is being made is the sender.
  HWND target = list_;
  if (target == nullptr && message == WM_COMMAND) target = reinterpret_cast<HWND>(lparam);
  if (target == nullptr && message == WM_NOTIFY && lparam != 0) {
    target = reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
  }
  if (target == nullptr || plugin_.ListNotificationReceived == nullptr) return 0;
  int result = plugin_.ListNotificationReceived(target, static_cast<int>(message), wparam, lparam);
  LogLine("forwarded %s %s -> %d", Hex(message).c_str(), Hex(wparam).c_str(), result);
  return result;
}

void ListerHost::Layout() {
  RECT client = {};
  GetClientRect(frame_, &client);
  int status_height = 0;
  if (status_ != nullptr) {
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT status_rect = {};
    GetWindowRect(status_, &status_rect);
    status_height = status_rect.bottom - status_rect.top;
  }
  int height = std::max(0, static_cast<int>(client.bottom) - status_height);
  MoveWindow(panel_, 0, 0, client.right, height, TRUE);
  if (list_ != nullptr) {
    RECT area = {};
    GetClientRect(panel_, &area);
    MoveWindow(list_, 0, 0, area.right, area.bottom, TRUE);
  }
}

// The client area and the list window, which the host keeps the same size.
void ListerHost::LogSizes() {
  RECT area = {}, list = {};
  GetClientRect(panel_, &area);
  if (list_ != nullptr) GetWindowRect(list_, &list);
  LogLine("sizes area %ldx%ld list %ldx%ld", area.right, area.bottom, list.right - list.left,
          list.bottom - list.top);
}

void ListerHost::ShowStatus() {
  if (status_ == nullptr) return;
  std::wstring text = current_file_ + (list_ != nullptr ? L"  |  shown" : L"  |  no list window");
  if (!last_posted_.empty()) {
    std::wstring posted(last_posted_.begin(), last_posted_.end());
    text += L"  |  " + posted;
  }
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT CALLBACK ListerHost::FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<ListerHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_SIZE:
      if (host->panel_ != nullptr) host->Layout();
      return 0;
    case WM_SETFOCUS:
      if (host->list_ != nullptr) SetFocus(host->list_);
      return 0;
    case WM_COMMAND:
      if (host->dispatching_posted_ || IsItem(HIWORD(static_cast<DWORD>(wparam)))) {
        host->RecordPosted(wparam, lparam, true);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (host->list_ != nullptr) host->Close();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (host->interactive_) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void ListerHost::SubclassList() {
  SetPropW(list_, L"DravikListerHost", this);
  list_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
}

LRESULT CALLBACK ListerHost::ListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* host = static_cast<ListerHost*>(GetPropW(window, L"DravikListerHost"));
  if (host == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  WNDPROC plugin = host->list_proc_;
  if (message == WM_KEYDOWN && (wparam == 'N' || wparam == 'P') && GetKeyState(VK_CONTROL) >= 0 &&
      GetKeyState(VK_MENU) >= 0) {
    host->StepFile(wparam == 'N' ? 1 : -1);
    return 0;
  }
  if (message == WM_NCDESTROY) RemovePropW(window, L"DravikListerHost");
  return CallWindowProcW(plugin, window, message, wparam, lparam);
}

LRESULT CALLBACK ListerHost::PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<ListerHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND:
      if (host->dispatching_posted_ || IsItem(HIWORD(static_cast<DWORD>(wparam)))) {
        host->RecordPosted(wparam, lparam, false);
        return 0;
      }
      return host->Forward(message, wparam, lparam);
    case WM_NOTIFY:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return host->Forward(message, wparam, lparam);
    case WM_SIZE:
      if (host->list_ != nullptr)
        MoveWindow(host->list_, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}
