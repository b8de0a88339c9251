// The thumbnail exports: the host's arguments handed to the thumbnail drawing.
#include "host/ansi_to_wide.h"
#include "host/listplug.h"
#include "sideviews/thumbnail.h"

HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* FileToLoad, int width, int height, char* contentbuf,
                                        int contentbuflen) {
  return DrawClassFileThumbnail(FileToLoad, width, height, contentbuf, contentbuflen);
}

HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* contentbuf,
                                       int contentbuflen) {
  WCHAR wide[AnsiToWideChars];
  return ListGetPreviewBitmapW(AnsiToWide(FileToLoad, wide), width, height, contentbuf,
                               contentbuflen);
}
