// Import hooks: replace an entry of a loaded module's import address table, so
// that a host or a test stands in for a platform call of the plugin (a scripted
// clock, another platform version, a recorded CreateProcessW, a printing layer)
// without the plugin carrying any test seam of its own.
#pragma once

#include <windows.h>

// Points module's import of dll!function (names compared without regard to
// case) at replacement. Returns the address that was there before, to call
// through or to restore with another HookImport; null when the module does not
// import that function, in which case nothing is changed.
void* HookImport(HMODULE module, const char* dll, const char* function, void* replacement);

// A hook that puts the previous entry back when it goes out of scope.
class ScopedImportHook {
 public:
  ScopedImportHook(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ScopedImportHook();
  ScopedImportHook(const ScopedImportHook&) = delete;
  ScopedImportHook& operator=(const ScopedImportHook&) = delete;

  bool installed() const { return previous_ != nullptr; }
  // The original function, to call through from the replacement.
  template <typename T>
  T original() const {
    return reinterpret_cast<T>(previous_);
  }

 private:
  HMODULE module_;
  const char* dll_;
  const char* function_;
  void* previous_;
};
