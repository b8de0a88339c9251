// Kotlin's words that can be keywords, by how Kotlin reads them. No Win32
// call: built on both sides.
//   hard: keywords everywhere (fun, val, when, object, is, in, typealias, ...);
//   modifier: keywords only in front of a declaration (data, sealed, value,
//     inline, companion, override, private, ...), and a few in front of a
//     parameter or a type argument (vararg, out, reified); names elsewhere
//     ("val data = 1");
//   soft: keywords only in one place each (get and set of a property, by,
//     init, constructor, catch, finally, where, import); names elsewhere.
#pragma once

enum class KotlinWordKind : unsigned char { None, Hard, Modifier, Soft };

// The kind of the word of length characters (exact, case-sensitive); None
// for any other word and for null.
KotlinWordKind KotlinWordKindOf(const wchar_t* word, int length);

// Whether the word of length characters is exactly text.
bool KotlinWordIs(const wchar_t* word, int length, const char* text);
