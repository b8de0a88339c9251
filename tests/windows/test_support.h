// Shared setup for the Windows tests.
#pragma once

#include <richedit.h>
#include <windows.h>

#include <string>

#include "standins/wine/under_wine.h"

// The file name of the plugin built with these tests: dravik.wlx64, or
// dravik.wlx in the 32-bit build.
inline constexpr wchar_t kPluginFile[] = L"" DRAVIK_PLUGIN_FILE;

// UTF-16 and UTF-8 (a lone surrogate becomes U+FFFD).
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// The folder of the running test executable, with a trailing backslash.
std::wstring ExeDirectory();

// The character format of the one character at position of a rich-edit
// control, read back with EM_EXSETSEL and EM_GETCHARFORMAT (the selection moves).
CHARFORMAT2A ReadCharFormatAt(HWND control, int position);

// The built plugin, loaded from beside the test executable for the life
// of the object; Export<T>("Name") resolves one of its exports.
class LoadedPlugin {
 public:
  LoadedPlugin();
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  HMODULE module() const { return module_; }
  template <typename T>
  T Export(const char* name) const {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

// Answers the next "Go to member" list of this process from a thread of its
// own: the item whose text is item chosen and OK pressed, or, for an empty
// item or one the list does not hold, Cancel. The destructor waits for it.
class MemberListAnswer {
 public:
  explicit MemberListAnswer(const std::wstring& item);
  ~MemberListAnswer();
  MemberListAnswer(const MemberListAnswer&) = delete;
  MemberListAnswer& operator=(const MemberListAnswer&) = delete;
  bool found() const { return found_; }

 private:
  static unsigned __stdcall Run(void* self);
  std::wstring item_;
  bool found_ = false;
  HANDLE thread_;
};
