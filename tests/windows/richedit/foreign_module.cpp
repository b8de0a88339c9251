// A second module of the test process: creates "RichEdit20A" with its own
// instance handle, as the plugin does with its own.
#include <windows.h>

extern "C" __declspec(dllexport) HWND CreateRichEditFromForeignModule(HWND parent) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&CreateRichEditFromForeignModule), &self);
  return CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 100, 100, parent,
                         nullptr, self, nullptr);
}
