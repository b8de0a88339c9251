#include "presentation/text_styles.h"

#include <string.h>

CHARFORMAT2A StyleBase;
CHARFORMAT2A StyleKeyword;
CHARFORMAT2A StyleString;
CHARFORMAT2A StyleComment;
CHARFORMAT2A StyleBanner;

namespace {

// The entry notification refills the styles whenever a host thread starts or
// ends, possibly while the UI thread is reading them. Each record is composed
// in a local first and stored only when it differs, so after the first fill a
// refill writes nothing and a reader can never meet a cleared record.
void FillStyle(CHARFORMAT2A* style, DWORD mask, DWORD effects, COLORREF color, BYTE charset,
               const char* face) {
  CHARFORMAT2A fresh;
  memset(&fresh, 0, sizeof fresh);
  fresh.cbSize = sizeof fresh;
  fresh.dwMask = mask;
  fresh.dwEffects = effects;
  fresh.crTextColor = color;
  fresh.bCharSet = charset;
  strncpy(fresh.szFaceName, face, sizeof fresh.szFaceName - 1);
  if (memcmp(style, &fresh, sizeof fresh) != 0) {
    memcpy(style, &fresh, sizeof fresh);
  }
}

}  // namespace

void InitTextStyles() {
  FillStyle(&StyleBase, CFM_FACE | CFM_CHARSET | CFM_BOLD, 0, 0, DEFAULT_CHARSET, "Courier New");
  FillStyle(&StyleKeyword, CFM_COLOR | CFM_BOLD, CFE_BOLD, RGB(127, 0, 85), 0, "");
  FillStyle(&StyleString, CFM_COLOR | CFM_BOLD, 0, RGB(0, 0, 192), 0, "");
  FillStyle(&StyleComment, CFM_COLOR | CFM_BOLD, 0, RGB(63, 127, 95), 0, "");
  FillStyle(&StyleBanner, CFM_COLOR | CFM_BOLD, CFE_BOLD, RGB(255, 128, 128), 0, "");
}
