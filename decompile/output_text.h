// How a decompiler's output is to be read: the bridge writes UTF-8 behind a
// byte-order mark; output without the mark (the original Jad, a user's own
// decompiler command) is text in the ANSI code page.
#pragma once

#include <windows.h>

// Whether text begins with the UTF-8 byte-order mark (EF BB BF).
bool HasUtf8Mark(const char* text);

// The UTF-8 text behind the mark as UTF-16, NUL-terminated, from malloc (the
// caller frees it); null when memory runs out. Bytes that are not UTF-8 do
// not cut the text: each shows as U+FFFD, under a first comment line that
// says so.
WCHAR* WideFromUtf8Output(const char* text);

// The output as UTF-16 whichever way it came (behind the mark, or ANSI), from
// malloc; null when memory runs out.
WCHAR* WideFromOutput(const char* text);
