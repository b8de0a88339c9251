// The thumbnail exports: not built yet; no bitmap.
#include "plugin/listplug.h"
#include "plugin/module_state.h"

HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* /*FileToLoad*/, int /*width*/, int /*height*/,
                                        char* /*contentbuf*/, int /*contentbuflen*/) {
  return nullptr;
}

HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* contentbuf,
                                       int contentbuflen) {
  WCHAR wide[AnsiToWideChars];
  return ListGetPreviewBitmapW(AnsiToWide(FileToLoad, wide), width, height, contentbuf,
                               contentbuflen);
}
