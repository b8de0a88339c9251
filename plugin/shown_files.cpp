#include "plugin/shown_files.h"

#include "decompile/class_family.h"
#include "decompile/long_path_names.h"

namespace {

// More list windows than a Lister shows at once; when all are taken, the one
// noted longest ago gives way.
enum { kSlots = 16 };

struct ShownFileSlot {
  HWND list;
  WCHAR name[MAX_PATH];
};

ShownFileSlot g_slots[kSlots];
int g_nextSlot = 0;

ShownFileSlot* SlotOf(HWND list) {
  for (ShownFileSlot& slot : g_slots) {
    if (slot.list == list && list != nullptr) return &slot;
  }
  return nullptr;
}

}  // namespace

void NoteShownFile(HWND list, const WCHAR* path) {
  if (list == nullptr || path == nullptr) return;
  ShownFileSlot* slot = SlotOf(list);
  // A window gone without ListCloseWindow leaves its slot free too.
  for (int i = 0; slot == nullptr && i < kSlots; ++i) {
    if (g_slots[i].list == nullptr || !IsWindow(g_slots[i].list)) slot = &g_slots[i];
  }
  if (slot == nullptr) {
    slot = &g_slots[g_nextSlot];
    g_nextSlot = (g_nextSlot + 1) % kSlots;
  }
  slot->list = list;
  BoundedWideCopy(slot->name, FileNameOf(path), MAX_PATH);
}

void ForgetShownFile(HWND list) {
  ShownFileSlot* slot = SlotOf(list);
  if (slot != nullptr) slot->list = nullptr;
}

const WCHAR* ShownFile(HWND list) {
  ShownFileSlot* slot = SlotOf(list);
  return slot != nullptr ? slot->name : nullptr;
}
