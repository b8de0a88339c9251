// The thumbnail exports: a class file the class-file reader reads is drawn as
// its class; any other ".class" file as its first bytes, numbered; other
// files get none.
#include "decompile/class_text.h"
#include "host/ansi_to_wide.h"
#include "host/listplug.h"
#include "presentation/palette_colours.h"
#include "sideviews/class_thumbnail.h"
#include "sideviews/thumbnail.h"

HBITMAP __stdcall ListGetPreviewBitmapW(WCHAR* FileToLoad, int width, int height, char* contentbuf,
                                        int contentbuflen) {
  if (IsClassFileName(FileToLoad) && contentbuf != nullptr && contentbuflen > 0 && width > 0 &&
      height > 0) {
    ClassGlance glance;
    std::string error;
    // The host asks for the thumbnail of this file: read whole, as the view reads it.
    if (GlanceOf(ReadClassBytes(FileToLoad), &glance, &error)) {
      // The host's thumbnails know no scheme: the light view's colours.
      const ThumbnailColours colours = {LightColours.background, LightColours.text,
                                        LightColours.keyword, LightColours.comment};
      return DrawClassThumbnail(glance, width, height, colours);
    }
  }
  return DrawClassFileThumbnail(FileToLoad, width, height, contentbuf, contentbuflen);
}

HBITMAP __stdcall ListGetPreviewBitmap(char* FileToLoad, int width, int height, char* contentbuf,
                                       int contentbuflen) {
  WCHAR wide[AnsiToWideChars];
  return ListGetPreviewBitmapW(AnsiToWide(FileToLoad, wide), width, height, contentbuf,
                               contentbuflen);
}
