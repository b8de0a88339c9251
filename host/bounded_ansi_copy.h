#pragma once

// Copies at most size - 1 bytes of source to destination and terminates right
// after them; a size of 0 or less writes nothing. Nothing past the copied bytes
// and their terminator is touched.
void BoundedAnsiCopy(char* destination, const char* source, int size);
