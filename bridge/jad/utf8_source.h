// The decompiler's output as the plugin reads it: UTF-8 behind a byte-order
// mark (the plugin's sign that the text is UTF-8), CR LF line ends and no zero
// byte. Characters stay as the engine wrote them and the bridge adds no
// escapes; only an escaped surrogate pair becomes its character.
#pragma once

#include <string>

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& text);

// text in UTF-8 as the plugin's source: the mark in front (one the text
// brought is dropped), every line end (CR LF, LF or a lone CR) as CR LF, a
// zero as \u0000, each malformed byte as U+FFFD, and a Unicode escape of a
// high surrogate directly followed by one of a low surrogate as the character
// beyond the BMP that Java reads in them (in a literal or a comment alike; a
// lone half, or an escape Java does not read as one, "\\uD83D", stays).
std::string ToUtf8Source(const std::string& text);
