// The Lister window and everything the host does with the plugin: loading it,
// offering it files, forwarding its control's notifications, recording what
// it posts, and the user's keys and the script's commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "standins/lister/host_options.h"
#include "standins/lister/plugin_exports.h"
#include "standins/lister/script.h"

class ListerHost {
 public:
  explicit ListerHost(const HostOptions& options);
  ~ListerHost();
  ListerHost(const ListerHost&) = delete;
  ListerHost& operator=(const ListerHost&) = delete;

  // The whole run; returns the exit code (0 done, 2 bad script, 3 no plugin).
  int Run();

 private:
  bool Start();
  void Finish();
  bool CreateWindows();
  bool Execute(const ScriptCommand& command);
  void Dispatch(MSG* msg);
  void Pump();
  void PumpFor(DWORD milliseconds);
  // Handles messages until the plugin has told the position (itm_percent)
  // since the last load, which it does once the source is shown, or
  // milliseconds have passed.
  void WaitForSource(DWORD milliseconds);
  // Logs this process's handles and threads; the first time they become the
  // baseline, and later, with milliseconds, messages are handled until both
  // are back at it or that time has passed.
  void LogCounts(DWORD milliseconds);
  bool HandleKey(UINT key, bool ctrl, bool shift);
  // A key the host does not take goes to the list window, with Ctrl and
  // Shift down as asked while the window handles it.
  void DeliverKey(UINT key, bool ctrl, bool shift);
  // A right click on the list window (WM_CONTEXTMENU), or the key that opens
  // its menu (Shift+F10) pressed there, and the item-th entry of the menu it
  // opens chosen with the keyboard (0: the menu cancelled). key 0: the click.
  void ContextMenu(int item, UINT key, bool shift);
  // Logs the list window's first visible line, its number and its text.
  void LogTopLine();

  bool Detect(const std::wstring& file);
  void Load(const std::wstring& file);
  void LoadNext(const std::wstring& file);
  void StepFile(int direction);
  void Close();
  void SendCommand(int command, int parameter);
  void Search(const std::wstring& text, int flags);
  void SearchAgain(bool backwards);
  void SearchDialog(bool answered, const std::wstring& text, int flags);
  void Print();
  void Thumbnail(int width, int height, const std::wstring& out, const std::wstring& file,
                 bool show);
  void Notify(UINT message, WPARAM wparam, LPARAM lparam);
  void Screenshot(const std::wstring& path);
  void LogPixel(int x, int y);
  void DumpText(const std::wstring& path);
  void DumpFormats(const std::wstring& path);

  void RecordPosted(WPARAM wparam, LPARAM lparam, bool to_frame);
  LRESULT Forward(UINT message, WPARAM wparam, LPARAM lparam);
  void Layout();
  void LogSizes();
  void ShowStatus();
  std::string WindowName(HWND window) const;
  // The show flags of every load and load-next.
  int ShowFlags() const { return dark_ ? lcp_darkmode : 0; }

  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The Lister subclasses the plugin's window for the keys it takes there (N
  // and P), as its plugin guide says.
  void SubclassList();
  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HostOptions options_;
  PluginExports plugin_;
  std::string detect_string_;
  HWND frame_ = nullptr;
  HWND panel_ = nullptr;
  HWND status_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC list_proc_ = nullptr;  // the plugin's procedure under the host's
  std::wstring current_file_;
  std::wstring last_search_;
  int last_search_flags_ = 0;
  bool force_ = false;
  bool dark_ = false;
  bool interactive_ = false;
  bool dispatching_posted_ = false;
  RECT margins_ = {100, 100, 100, 100};
  std::string last_posted_;
  // itm_percent messages received, in all and when the last load began.
  unsigned percents_ = 0;
  unsigned percents_at_load_ = 0;
  // The first counts logged: handles, threads (-1 before).
  long base_handles_ = -1;
  long base_threads_ = -1;
};
