// The class file's text form, modified UTF-8: UTF-16 code units in one to
// three bytes each, a zero as C0 80, a character beyond the BMP as its two
// surrogates of three bytes each.
#pragma once

#include <stddef.h>

#include <string>

// Appends the text of bytes to out in UTF-8: a surrogate pair becomes its one
// four-byte character; a lone surrogate (Java strings may hold one) keeps its
// three-byte form, which no UTF-8 reader takes for a character. False on a
// byte sequence the form does not allow (a bare zero, a four-byte form, a cut
// sequence); out then holds what came before it.
bool DecodeModifiedUtf8(const unsigned char* bytes, size_t length, std::string* out);

// Replaces each lone surrogate's three-byte form in text with '?', as Java
// does when it writes such a string out as UTF-8.
std::string LoneSurrogatesAsQuestionMarks(const std::string& text);
