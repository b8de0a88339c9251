#include "standins/lister/lister_host.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <memory>

#include "standins/lister/control_dump.h"
#include "standins/lister/detect_string.h"
#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/lister/search_dialog.h"
#include "standins/lister/watchdog.h"
#include "standins/png/png_writer.h"

namespace {

const wchar_t kFrameClass[] = L"DravikListerFrame";
const wchar_t kPanelClass[] = L"DravikListerPanel";
const wchar_t kThumbnailClass[] = L"DravikListerThumbnail";
const size_t kHeadBytes = 8192;
const int kDetectStringBytes = 2048;

std::string Ansi(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

bool IsItem(WORD item) { return item == itm_percent || item == itm_fontstyle || item == itm_next; }

std::string Hex(unsigned long long value) {
  char text[24];
  snprintf(text, sizeof text, "0x%llx", value);
  return text;
}

std::string BitmapName(HBITMAP bitmap) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return "null";
  return "bitmap " + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
}

// The files of path's folder, in name order, without folders.
std::vector<std::wstring> FolderFiles(const std::wstring& path) {
  std::vector<std::wstring> files;
  std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder + data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  return files;
}

// The first bytes of a file, as the host hands them to the thumbnail export.
std::string ReadHead(const std::wstring& path) {
  std::string head;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return head;
  head.resize(kHeadBytes);
  DWORD read = 0;
  if (!ReadFile(file, &head[0], static_cast<DWORD>(kHeadBytes), &read, nullptr)) read = 0;
  head.resize(read);
  CloseHandle(file);
  return head;
}

LRESULT CALLBACK ThumbnailProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) DeleteObject(bitmap);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
  std::wstring windows = path;
  if (!windows.empty() && windows[0] == L'/') windows = L"Z:" + windows;
  std::replace(windows.begin(), windows.end(), L'/', L'\\');
  wchar_t full[4096];
  DWORD n = GetFullPathNameW(windows.c_str(), 4096, full, nullptr);
  return n > 0 && n < 4096 ? std::wstring(full, n) : windows;
}

bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions* options,
                      std::wstring* error) {
  std::vector<std::wstring> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    auto value = [&](std::wstring* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    bool ok = true;
    if (a == L"--ansi") {
      options->ansi = true;
    } else if (a == L"--force") {
      options->force = true;
    } else if (a == L"--do") {
      ok = value(&options->script);
      options->has_script = true;
    } else if (a == L"--dump-text") {
      ok = value(&options->dump_text);
    } else if (a == L"--dump-formats") {
      ok = value(&options->dump_formats);
    } else if (a == L"--screenshot") {
      ok = value(&options->screenshot);
    } else if (a == L"--log") {
      ok = value(&options->log);
    } else if (a == L"--size") {
      std::wstring size;
      ok = value(&size) &&
           swscanf(size.c_str(), L"%dx%d", &options->width, &options->height) == 2 &&
           options->width > 0 && options->height > 0;
    } else if (a.compare(0, 2, L"--") == 0) {
      *error = L"unknown option " + a;
      return false;
    } else {
      positional.push_back(a);
    }
    if (!ok) {
      *error = L"option " + a + L" needs a value";
      return false;
    }
  }
  if (positional.size() != 2) {
    *error =
        L"usage: lister.exe PLUGIN FILE [--ansi] [--force] [--do SCRIPT] [--dump-text F] "
        L"[--dump-formats F] [--screenshot F.png] [--log F] [--size WxH]";
    return false;
  }
  options->plugin = FullPath(positional[0]);
  options->file = FullPath(positional[1]);
  for (std::wstring* path :
       {&options->log, &options->dump_text, &options->dump_formats, &options->screenshot}) {
    if (!path->empty()) *path = FullPath(*path);
  }
  return true;
}

ListerHost::ListerHost(const HostOptions& options)
    : options_(options), current_file_(options.file), force_(options.force) {}

ListerHost::~ListerHost() = default;

int ListerHost::Run() {
  if (!OpenHostLog(options_.log)) {
    fwprintf(stderr, L"lister: cannot write the log %ls\n", options_.log.c_str());
    return 2;
  }
  std::vector<ScriptCommand> commands;
  std::wstring error;
  if (!ParseScript(options_.has_script ? options_.script : L"load", &commands, &error)) {
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
  WNDCLASSW thumbnail_class = frame_class;
  thumbnail_class.lpfnWndProc = ThumbnailProc;
  thumbnail_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  thumbnail_class.lpszClassName = kThumbnailClass;
  RegisterClassW(&thumbnail_class);

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
  } else if (key == 'N' || key == 'P') {
    StepFile(key == 'N' ? 1 : -1);
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

std::string ListerHost::WindowName(HWND window) const {
  if (window == nullptr) return "null";
  if (window == list_) return "list";
  return Hex(reinterpret_cast<ULONG_PTR>(window));
}

bool ListerHost::Detect(const std::wstring& file) {
  if (detect_string_.empty()) {
    LogLine("detect %s offered (no detection string)", Quoted(file).c_str());
    return true;
  }
  DetectResult result =
      EvaluateDetectString(detect_string_, DescribeFile(file, force_, kHeadBytes));
  if (!result.valid) {
    LogLine("detect %s error %s at %lu", Quoted(file).c_str(),
            QuotedAnsi(result.error.c_str()).c_str(), static_cast<unsigned long>(result.position));
    return false;
  }
  LogLine("detect %s %s", Quoted(file).c_str(), result.offered ? "offered" : "not offered");
  return result.offered;
}

void ListerHost::Load(const std::wstring& file) {
  if (!Detect(file)) return;
  // One list window at a time, as in the Lister: the earlier one goes first.
  if (list_ != nullptr) Close();
  HWND result = nullptr;
  if (options_.ansi && plugin_.ListLoad != nullptr) {
    std::string name = Ansi(file);
    result = plugin_.ListLoad(panel_, &name[0], 0);
    LogLine("ListLoad %s -> %s", Quoted(file).c_str(), result ? "window" : "null");
  } else if (!options_.ansi && plugin_.ListLoadW != nullptr) {
    std::wstring name = file;
    result = plugin_.ListLoadW(panel_, &name[0], 0);
    LogLine("ListLoadW %s -> %s", Quoted(file).c_str(), result ? "window" : "null");
  } else {
    LogLine("error \"no load export\"");
  }
  if (result != nullptr) {
    list_ = result;
    SetHookListWindow(list_);
    current_file_ = file;
    Layout();
    SetFocus(list_);
  }
  ShowStatus();
}

void ListerHost::LoadNext(const std::wstring& file) {
  int result = LISTPLUGIN_ERROR;
  if (options_.ansi && plugin_.ListLoadNext != nullptr) {
    std::string name = Ansi(file);
    result = plugin_.ListLoadNext(panel_, list_, &name[0], 0);
    LogLine("ListLoadNext %s -> %d", Quoted(file).c_str(), result);
  } else if (!options_.ansi && plugin_.ListLoadNextW != nullptr) {
    std::wstring name = file;
    result = plugin_.ListLoadNextW(panel_, list_, &name[0], 0);
    LogLine("ListLoadNextW %s -> %d", Quoted(file).c_str(), result);
  } else {
    LogLine("error \"no loadnext export\"");
  }
  current_file_ = file;
  ShowStatus();
}

void ListerHost::StepFile(int direction) {
  std::vector<std::wstring> files = FolderFiles(current_file_);
  size_t i = 0;
  while (i < files.size() && _wcsicmp(files[i].c_str(), current_file_.c_str()) != 0) ++i;
  long long next = static_cast<long long>(i) + direction;
  if (i == files.size() || next < 0 || next >= static_cast<long long>(files.size())) {
    LogLine("error \"no %s file\"", direction > 0 ? "next" : "previous");
    return;
  }
  LoadNext(files[static_cast<size_t>(next)]);
}

void ListerHost::Close() {
  if (list_ == nullptr) {
    LogLine("error \"no list window\"");
    return;
  }
  if (plugin_.ListCloseWindow != nullptr) {
    plugin_.ListCloseWindow(list_);
    LogLine("ListCloseWindow");
  } else {
    DestroyWindow(list_);
  }
  list_ = nullptr;
  SetHookListWindow(nullptr);
  ShowStatus();
}

void ListerHost::SendCommand(int command, int parameter) {
  if (plugin_.ListSendCommand == nullptr) return;
  int result = plugin_.ListSendCommand(list_, command, parameter);
  LogLine("ListSendCommand %d %d -> %d", command, parameter, result);
}

void ListerHost::Search(const std::wstring& text, int flags) {
  last_search_ = text;
  last_search_flags_ = flags;
  if (plugin_.ListSearchText == nullptr) return;
  std::string ansi = Ansi(text);
  int result = plugin_.ListSearchText(list_, &ansi[0], flags);
  LogLine("ListSearchText %s %d -> %d", Quoted(text).c_str(), flags, result);
}

void ListerHost::SearchAgain(bool backwards) {
  if (last_search_.empty()) {
    LogLine("error \"nothing searched yet\"");
    return;
  }
  int flags = last_search_flags_ & ~(lcs_findfirst | lcs_backwards);
  Search(last_search_, backwards ? flags | lcs_backwards : flags);
}

void ListerHost::SearchDialog(bool answered, const std::wstring& text, int flags) {
  if (plugin_.ListSearchDialog != nullptr) {
    int result = plugin_.ListSearchDialog(list_, 0);
    LogLine("ListSearchDialog 0 -> %d", result);
    if (result != LISTPLUGIN_ERROR) return;
  }
  // The plugin has no dialog of its own: the host asks.
  std::wstring wanted = answered ? text : last_search_;
  int wanted_flags = answered ? flags : last_search_flags_;
  bool accepted = answered;
  if (interactive_) accepted = ShowSearchDialog(frame_, &wanted, &wanted_flags);
  if (!accepted || wanted.empty()) {
    LogLine("search dialog cancelled");
    return;
  }
  LogLine("search dialog %s %d", Quoted(wanted).c_str(), wanted_flags);
  Search(wanted, wanted_flags | lcs_findfirst);
}

void ListerHost::Print() {
  if (plugin_.ListPrint == nullptr) return;
  std::string file = Ansi(current_file_);
  char printer[1] = "";
  RECT margins = margins_;
  int result = plugin_.ListPrint(list_, &file[0], printer, 0, &margins);
  LogLine("ListPrint %s %ld %ld %ld %ld -> %d", Quoted(current_file_).c_str(), margins_.left,
          margins_.top, margins_.right, margins_.bottom, result);
}

void ListerHost::Thumbnail(int width, int height, const std::wstring& out, const std::wstring& file,
                           bool show) {
  std::string head = ReadHead(file);
  HBITMAP bitmap = nullptr;
  int count = static_cast<int>(head.size());
  if (options_.ansi && plugin_.ListGetPreviewBitmap != nullptr) {
    std::string name = Ansi(file);
    bitmap = plugin_.ListGetPreviewBitmap(&name[0], width, height, &head[0], count);
    LogLine("ListGetPreviewBitmap %s %d %d %d -> %s", Quoted(file).c_str(), width, height, count,
            BitmapName(bitmap).c_str());
  } else if (!options_.ansi && plugin_.ListGetPreviewBitmapW != nullptr) {
    std::wstring name = file;
    bitmap = plugin_.ListGetPreviewBitmapW(&name[0], width, height, &head[0], count);
    LogLine("ListGetPreviewBitmapW %s %d %d %d -> %s", Quoted(file).c_str(), width, height, count,
            BitmapName(bitmap).c_str());
  }
  if (bitmap == nullptr) return;
  if (!out.empty()) {
    LogLine("thumbnail %s %s", Quoted(out).c_str(),
            WriteBitmapPng(bitmap, out.c_str()) ? "written" : "failed");
  }
  if (!show) {
    DeleteObject(bitmap);
    return;
  }
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  RECT rect = {0, 0, info.bmWidth, info.bmHeight};
  AdjustWindowRect(&rect, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kThumbnailClass, L"Thumbnail",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40,
                                rect.right - rect.left, rect.bottom - rect.top, frame_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    DeleteObject(bitmap);
    return;
  }
  // The window owns the bitmap from here and deletes it when it goes.
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  InvalidateRect(window, nullptr, TRUE);
}

void ListerHost::Notify(UINT message, WPARAM wparam, LPARAM lparam) {
  if (plugin_.ListNotificationReceived == nullptr) return;
  int result = plugin_.ListNotificationReceived(list_, static_cast<int>(message), wparam, lparam);
  LogLine("ListNotificationReceived %s %s -> %d", Hex(message).c_str(), Hex(wparam).c_str(),
          result);
}

void ListerHost::Screenshot(const std::wstring& path) {
  SetForegroundWindow(frame_);
  Pump();
  LogLine("screenshot %s %s", Quoted(path).c_str(),
          WriteWindowPng(frame_, path.c_str()) ? "written" : "failed");
}

void ListerHost::DumpText(const std::wstring& path) {
  LogLine("dumptext %s %s", Quoted(path).c_str(),
          DumpControlText(list_, path) ? "written" : "failed");
}

void ListerHost::DumpFormats(const std::wstring& path) {
  LogLine("dumpformats %s %s", Quoted(path).c_str(),
          DumpControlFormats(list_, path) ? "written" : "failed");
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
