// BoundedAnsiCopy into a destination of exactly size bytes (the sanitizer
// catches any write past it): the result is the source's first size - 1 bytes,
// terminated; a size of 0 or less writes nothing.
#include <stdlib.h>
#include <string.h>

#include "host/bounded_ansi_copy.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  int room = input.Number() % 600 - 40;  // some sizes of 0 or less
  std::string source = input.RestAsText();
  char* destination = static_cast<char*>(malloc(room > 0 ? room : 1));
  destination[0] = 'z';
  BoundedAnsiCopy(destination, source.c_str(), room);
  if (room <= 0) {
    if (destination[0] != 'z') abort();
  } else {
    size_t expected = source.size() < static_cast<size_t>(room - 1) ? source.size() : room - 1;
    if (strlen(destination) != expected) abort();
    if (memcmp(destination, source.data(), expected) != 0) abort();
  }
  free(destination);
  return 0;
}
