#include "presentation/java_keywords.h"

#include <string.h>

const char* const JavaKeywords[JavaKeywordCount] = {
    "abstract", "assert", "boolean",    "break",     "byte",       "case",      "catch",
    "char",     "class",  "const",      "continue",  "default",    "do",        "double",
    "else",     "enum",   "extends",    "final",     "finally",    "float",     "for",
    "goto",     "if",     "implements", "import",    "instanceof", "int",       "interface",
    "long",     "native", "new",        "package",   "private",    "protected", "public",
    "return",   "short",  "static",     "strictfp",  "super",      "switch",    "synchronized",
    "this",     "throw",  "throws",     "transient", "try",        "void",      "volatile",
    "while",
};

int FindJavaKeyword(const char* word, int* comparisons) {
  int made = 0;
  int found = -1;
  int low = 0;
  int high = JavaKeywordCount - 1;
  // The first probe, (0 + 49) / 2, is "import".
  while (word != nullptr && low <= high) {
    int probe = (low + high) / 2;
    ++made;
    int order = strcmp(word, JavaKeywords[probe]);
    if (order == 0) {
      found = probe;
      break;
    }
    if (order < 0) {
      high = probe - 1;
    } else {
      low = probe + 1;
    }
  }
  if (comparisons != nullptr) *comparisons = made;
  return found;
}
