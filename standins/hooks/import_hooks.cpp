#include "standins/hooks/import_hooks.h"

#include <string.h>

namespace {

template <typename T>
T* At(HMODULE module, DWORD rva) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

// The slot in the import address table that holds dll!function, or null.
void** FindImportSlot(HMODULE module, const char* dll, const char* function) {
  if (module == nullptr) return nullptr;
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = At<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return nullptr;
  for (auto* desc = At<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress); desc->Name != 0;
       ++desc) {
    if (_stricmp(At<char>(module, desc->Name), dll) != 0) continue;
    // The lookup table keeps the names; the address table holds the bound pointers.
    DWORD lookup_rva = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
    auto* lookup = At<IMAGE_THUNK_DATA>(module, lookup_rva);
    auto* bound = At<IMAGE_THUNK_DATA>(module, desc->FirstThunk);
    for (; lookup->u1.AddressOfData != 0; ++lookup, ++bound) {
      if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) continue;
      auto* by_name =
          At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(lookup->u1.AddressOfData));
      if (strcmp(reinterpret_cast<const char*>(by_name->Name), function) == 0) {
        return reinterpret_cast<void**>(&bound->u1.Function);
      }
    }
  }
  return nullptr;
}

}  // namespace

void* HookImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  void** slot = FindImportSlot(module, dll, function);
  if (slot == nullptr) return nullptr;
  DWORD old_protection = 0;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old_protection)) return nullptr;
  void* previous = *slot;
  *slot = replacement;
  VirtualProtect(slot, sizeof(void*), old_protection, &old_protection);
  return previous;
}

ScopedImportHook::ScopedImportHook(HMODULE module, const char* dll, const char* function,
                                   void* replacement)
    : module_(module),
      dll_(dll),
      function_(function),
      previous_(HookImport(module, dll, function, replacement)) {}

ScopedImportHook::~ScopedImportHook() {
  if (previous_ != nullptr) HookImport(module_, dll_, function_, previous_);
}
