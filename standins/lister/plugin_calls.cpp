// What the host asks of the plugin for a user or a script: each call of an
// export, with its arguments prepared and its result logged.
#include <algorithm>

#include "standins/lister/bitmap_window.h"
#include "standins/lister/control_dump.h"
#include "standins/lister/detect_string.h"
#include "standins/lister/host_hooks.h"
#include "standins/lister/host_log.h"
#include "standins/lister/lister_host.h"
#include "standins/lister/search_dialog.h"
#include "standins/png/png_writer.h"

namespace {

const size_t kHeadBytes = 8192;

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

// Logs how long an export call took, when it goes out of scope after the
// call's own line: "time ListLoadW 12.3 ms".
class CallTime {
 public:
  explicit CallTime(const char* name) : name_(name) { QueryPerformanceCounter(&start_); }
  ~CallTime() {
    LARGE_INTEGER end, frequency;
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    LogLine("time %s %.1f ms", name_,
            1000.0 * static_cast<double>(end.QuadPart - start_.QuadPart) /
                static_cast<double>(frequency.QuadPart));
  }
  CallTime(const CallTime&) = delete;
  CallTime& operator=(const CallTime&) = delete;

 private:
  const char* name_;
  LARGE_INTEGER start_;
};

}  // namespace

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
  percents_at_load_ = percents_;
  if (options_.ansi && plugin_.ListLoad != nullptr) {
    CallTime time("ListLoad");
    std::string name = Ansi(file);
    result = plugin_.ListLoad(panel_, &name[0], ShowFlags());
    LogLine("ListLoad %s -> %s", Quoted(file).c_str(), result ? "window" : "null");
  } else if (!options_.ansi && plugin_.ListLoadW != nullptr) {
    CallTime time("ListLoadW");
    std::wstring name = file;
    result = plugin_.ListLoadW(panel_, &name[0], ShowFlags());
    LogLine("ListLoadW %s -> %s", Quoted(file).c_str(), result ? "window" : "null");
  } else {
    LogLine("error \"no load export\"");
  }
  if (result != nullptr) {
    list_ = result;
    SubclassList();
    SetHookListWindow(list_);
    current_file_ = file;
    Layout();
    SetFocus(list_);
  }
  ShowStatus();
}

void ListerHost::LoadNext(const std::wstring& file) {
  int result = LISTPLUGIN_ERROR;
  percents_at_load_ = percents_;
  if (options_.ansi && plugin_.ListLoadNext != nullptr) {
    CallTime time("ListLoadNext");
    std::string name = Ansi(file);
    result = plugin_.ListLoadNext(panel_, list_, &name[0], ShowFlags());
    LogLine("ListLoadNext %s -> %d", Quoted(file).c_str(), result);
  } else if (!options_.ansi && plugin_.ListLoadNextW != nullptr) {
    CallTime time("ListLoadNextW");
    std::wstring name = file;
    result = plugin_.ListLoadNextW(panel_, list_, &name[0], ShowFlags());
    LogLine("ListLoadNextW %s -> %d", Quoted(file).c_str(), result);
  } else {
    LogLine("error \"no loadnext export\"");
  }
  current_file_ = file;
  ShowStatus();
  // The plugin cannot show this file in its window: the Lister loads it
  // afresh, as its plugin guide says, from closing the window on.
  if (result == LISTPLUGIN_ERROR) {
    if (list_ != nullptr) Close();
    Load(file);
  }
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
    CallTime time("ListCloseWindow");
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
  CallTime time("ListSendCommand");
  int result = plugin_.ListSendCommand(list_, command, parameter);
  LogLine("ListSendCommand %d %d -> %d", command, parameter, result);
}

void ListerHost::Search(const std::wstring& text, int flags) {
  last_search_ = text;
  last_search_flags_ = flags;
  // The wide export when there is one, as the Lister asks it.
  if (!options_.ansi && plugin_.ListSearchTextW != nullptr) {
    CallTime time("ListSearchTextW");
    std::wstring wide = text;
    int result = plugin_.ListSearchTextW(list_, &wide[0], flags);
    LogLine("ListSearchTextW %s %d -> %d", Quoted(text).c_str(), flags, result);
  } else if (plugin_.ListSearchText != nullptr) {
    CallTime time("ListSearchText");
    std::string ansi = Ansi(text);
    int result = plugin_.ListSearchText(list_, &ansi[0], flags);
    LogLine("ListSearchText %s %d -> %d", Quoted(text).c_str(), flags, result);
  }
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
  CallTime time("ListPrint");
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
  ShowBitmapWindow(frame_, bitmap);
}

void ListerHost::Notify(UINT message, WPARAM wparam, LPARAM lparam) {
  if (plugin_.ListNotificationReceived == nullptr) return;
  CallTime time("ListNotificationReceived");
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

void ListerHost::LogPixel(int x, int y) {
  if (!IsWindow(list_)) {
    LogLine("pixel %d %d none", x, y);
    return;
  }
  // What the screen shows there, after every pending repaint.
  RedrawWindow(list_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(list_);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(list_, dc);
  if (colour == CLR_INVALID) {
    LogLine("pixel %d %d none", x, y);
    return;
  }
  LogLine("pixel %d %d #%02x%02x%02x", x, y, GetRValue(colour), GetGValue(colour),
          GetBValue(colour));
}

void ListerHost::DumpText(const std::wstring& path) {
  LogLine("dumptext %s %s", Quoted(path).c_str(),
          DumpControlText(list_, path) ? "written" : "failed");
}

void ListerHost::DumpFormats(const std::wstring& path) {
  LogLine("dumpformats %s %s", Quoted(path).c_str(),
          DumpControlFormats(list_, path) ? "written" : "failed");
}
