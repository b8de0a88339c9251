#include "tests/windows/soak/soak_fixture.h"

#include "tests/windows/test_support.h"

namespace {

template <typename T>
T Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::wstring SoakDataFile(const std::wstring& name) {
  return ExeDirectory() + L"soak_data\\" + name;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::string WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
  return ToUtf8(text);
}

PluginCopyFixture::PluginCopyFixture() {
  HMODULE module = folder_.module();
  listLoadW = Resolve<decltype(listLoadW)>(module, "ListLoadW");
  listLoad = Resolve<decltype(listLoad)>(module, "ListLoad");
  listLoadNextW = Resolve<decltype(listLoadNextW)>(module, "ListLoadNextW");
  listCloseWindow = Resolve<decltype(listCloseWindow)>(module, "ListCloseWindow");
  listPrint = Resolve<decltype(listPrint)>(module, "ListPrint");
  listGetPreviewBitmapW = Resolve<decltype(listGetPreviewBitmapW)>(module, "ListGetPreviewBitmapW");
  lister_ = CreateWindowExA(0, "STATIC", "Lister", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                            nullptr, nullptr, nullptr);
  inputs_ = folder_.directory() + L"-inputs";
  CreateDirectoryW(inputs_.c_str(), nullptr);
}

PluginCopyFixture::~PluginCopyFixture() {
  hooks_.clear();
  DestroyWindow(lister_);
  PumpMessages();
  // A training run may have started from a runtime a test put among the inputs.
  EndTrainingRuns(folder_.directory());
  RemoveTree(inputs_);
}

bool PluginCopyFixture::Hook(const char* dll, const char* function, void* replacement) {
  hooks_.push_back({function, std::unique_ptr<ScopedImportHook>(new ScopedImportHook(
                                  folder_.module(), dll, function, replacement))});
  return hooks_.back().hook->installed();
}

void* PluginCopyFixture::Original(const char* function) const {
  for (const NamedHook& h : hooks_) {
    if (h.function == function) return h.hook->original<void*>();
  }
  return nullptr;
}
