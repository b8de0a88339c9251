#include "host/bounded_ansi_copy.h"

void BoundedAnsiCopy(char* destination, const char* source, int size) {
  if (size <= 0) {
    return;
  }
  int i = 0;
  for (; i < size - 1 && source[i] != '\0'; ++i) {
    destination[i] = source[i];
  }
  destination[i] = '\0';
}
