#include "plugin/class_window.h"

#include <stdlib.h>
#include <windowsx.h>

#include <new>

#include "plugin/class_views.h"
#include "plugin/go_to_member.h"
#include "plugin/kotlin_view.h"
#include "plugin/module_hold.h"
#include "plugin/view_keys.h"

namespace {

// Each class window with the procedure it stands in front of. Kept here, not
// as window properties, which Wine asks its server for at every message; all
// of them live on the host's one thread.
struct Entry {
  HWND control;
  WNDPROC original;
  ClassWindow* window;  // null once detached
  bool holds;           // holds the plugin loaded (module_hold.h)
};
std::vector<Entry> g_entries;

Entry* EntryOf(HWND control) {
  for (Entry& entry : g_entries) {
    if (entry.control == control) return &entry;
  }
  return nullptr;
}

// What a key of the window does; false when it does nothing here.
bool RunViewKey(HWND control, ClassWindow* window, ViewKeyCommand command) {
  switch (command) {
    case ViewKeyCommand::SwitchBytecode:
      SwitchClassView(control, window, !window->bytecodeShown);
      return true;
    case ViewKeyCommand::GoToMember:
      GoToMember(control, window);
      return true;
    case ViewKeyCommand::SwitchKotlin:
      // Only for a class compiled from Kotlin: to Kotlin, and back to Java.
      if (!OffersKotlinView(window)) return false;
      if (window->kotlinShown) {
        SwitchClassView(control, window, false);
      } else {
        ShowKotlinView(control, window);
      }
      return true;
  }
  return false;
}

// Whether the window takes the key for itself: the Kotlin view's only where
// it is offered.
bool TakesViewKey(ClassWindow* window, const ViewKey* key) {
  return key != nullptr &&
         (key->command != ViewKeyCommand::SwitchKotlin || OffersKotlinView(window));
}

LRESULT CALLBACK ClassWindowProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  Entry* entry = EntryOf(control);
  if (entry == nullptr) return DefWindowProcW(control, message, wParam, lParam);
  const WNDPROC original = entry->original;
  ClassWindow* window = entry->window;
  if (window != nullptr) {
    if (message == SourceReadyMessage()) {
      // A run given up meanwhile may have posted too: only this window's counts.
      DecompileJob* job = reinterpret_cast<DecompileJob*>(wParam);
      if (job == window->pending) {
        if (WaitForDecompileJob(job, 0)) TakeArrivedSource(control, window);
      } else {
        TakeArrivedKotlin(control, window, job);
      }
      return 0;
    }
    switch (message) {
      case WM_CONTEXTMENU:
        ShowClassViewMenu(control, window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      case WM_COMMAND:
        if (LOWORD(wParam) == ShowSourceCommand || LOWORD(wParam) == ShowBytecodeCommand) {
          SwitchClassView(control, window, LOWORD(wParam) == ShowBytecodeCommand);
          return 0;
        }
        if (LOWORD(wParam) == ShowKotlinCommand) {
          ShowKotlinView(control, window);
          return 0;
        }
        if (LOWORD(wParam) == GoToMemberCommand) {
          GoToMember(control, window);
          return 0;
        }
        break;
      case WM_KEYDOWN: {
        const ViewKey* key = PressedViewKey(wParam);
        if (key != nullptr && RunViewKey(control, window, key->command)) return 0;
        break;
      }
      case WM_TIMER:
        if (wParam == RunCheckTimer) {
          // A lost post: the run has ended all the same.
          if (window->pending != nullptr && WaitForDecompileJob(window->pending, 0)) {
            TakeArrivedSource(control, window);
          }
          return 0;
        }
        if (wParam == KotlinCheckTimer) {
          CheckKotlinRun(control, window);
          return 0;
        }
        break;
      case WM_CHAR:
        // The character a key of the window makes: the key did all there is to do.
        if (TakesViewKey(window, ViewKeyOfCharacter(wParam))) return 0;
        break;
    }
  }
  if (message == WM_NCDESTROY) {
    DetachClassWindow(control);
    // Whoever subclassed after us keeps calling through to us: theirs stays.
    if (GetWindowLongPtrW(control, GWLP_WNDPROC) ==
        reinterpret_cast<LONG_PTR>(&ClassWindowProcedure)) {
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    Entry* ending = EntryOf(control);
    if (ending->holds) WindowHoldEnded();
    g_entries.erase(g_entries.begin() + (ending - g_entries.data()));
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

ClassWindow* AttachClassWindow(HWND control) {
  Entry* entry = EntryOf(control);
  if (entry != nullptr && entry->window != nullptr) return entry->window;
  ClassWindow* window = new (std::nothrow) ClassWindow();
  if (window == nullptr) return nullptr;
  if (entry == nullptr) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (original == nullptr) {
      delete window;
      return nullptr;
    }
    g_entries.push_back({control, original, window, HoldModuleForWindow()});
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClassWindowProcedure));
  } else {
    entry->window = window;
  }
  return window;
}

ClassWindow* ClassWindowOf(HWND control) {
  Entry* entry = EntryOf(control);
  return entry != nullptr ? entry->window : nullptr;
}

bool ReleaseClassWindows() {
  bool live = false;
  std::vector<Entry> kept;
  for (const Entry& entry : g_entries) {
    const bool alive = IsWindow(entry.control) != 0;
    live = live || alive;
    if (alive && GetWindowLongPtrW(entry.control, GWLP_WNDPROC) !=
                     reinterpret_cast<LONG_PTR>(&ClassWindowProcedure)) {
      // Another's procedure calls ours: the record stays, for it.
      HMODULE pinned;
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&ClassWindowProcedure), &pinned);
      kept.push_back(entry);
      continue;
    }
    if (alive) {
      SetWindowLongPtrW(entry.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
    }
    if (entry.window != nullptr) {
      ReleaseDecompileJob(entry.window->pending);
      ReleaseKotlinView(entry.window);
      free(entry.window->result.text);
      delete entry.window;
    }
  }
  g_entries.swap(kept);
  return live;
}

void DetachClassWindow(HWND control) {
  Entry* entry = EntryOf(control);
  if (entry == nullptr || entry->window == nullptr) return;
  ClassWindow* window = entry->window;
  entry->window = nullptr;
  KillTimer(control, RunCheckTimer);
  KillTimer(control, KotlinCheckTimer);
  ReleaseDecompileJob(window->pending);
  ReleaseKotlinView(window);
  free(window->result.text);
  delete window;
}
