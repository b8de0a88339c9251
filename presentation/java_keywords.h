// The Java keyword table and its lookup. No Win32 call: built on both sides.
#pragma once

constexpr int JavaKeywordCount = 50;

// All lower case, ascending in strcmp order, so that a binary search finds any
// entry in at most 6 comparisons.
extern const char* const JavaKeywords[JavaKeywordCount];

// The index of the entry equal to word (exact, case-sensitive), or -1 when none
// is or word is null. When comparisons is given, it receives the number of
// string comparisons made.
int FindJavaKeyword(const char* word, int* comparisons = nullptr);
