// The decompiler's output as the plugin reads it: text in the system's ANSI
// code page with CR LF line ends and no zero byte. A character the code page
// cannot hold exactly becomes a Java escape, \uXXXX (two for a character
// beyond the BMP, as a surrogate pair), never a question mark.
#pragma once

#include <functional>
#include <string>

// Appends the bytes that the code page holds for codePoint and returns true,
// or returns false when it cannot hold it exactly. Never asked for ASCII.
using AnsiEncoder = std::function<bool(char32_t codePoint, std::string* bytes)>;

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& text);

// text in UTF-8 as ANSI source: a leading byte-order mark dropped, every line
// end (CR LF, LF or a lone CR) as CR LF, a zero as \u0000. Text that is not
// UTF-8 is taken to be in the ANSI code page already (an original Jad writes
// that) and only gets its line ends and zeros mended.
std::string ToAnsiSource(const std::string& text, const AnsiEncoder& encode);
