// Shared setup for the Windows tests.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable, with a trailing backslash.
std::wstring ExeDirectory();

// The built dravik.wlx64, loaded from beside the test executable for the life
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
