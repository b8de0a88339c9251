#include "bridge/class_data_cache/cache_checksum.h"

#include <string.h>

namespace {

const uint64_t Prime = 1099511628211ull;

// Each step is one-to-one in the hash for a given word, so a change to any
// one word always changes the result.
uint64_t AddWord(uint64_t hash, const unsigned char* bytes) {
  uint64_t word = 0;
  for (int i = 7; i >= 0; --i) word = (word << 8) | bytes[i];
  return (hash ^ word) * Prime;
}

}  // namespace

void AddToChecksum(ArchiveChecksum* sum, const unsigned char* bytes, size_t count) {
  size_t held = static_cast<size_t>(sum->length % 8);
  sum->length += count;
  if (held != 0) {
    const size_t take = count < 8 - held ? count : 8 - held;
    memcpy(sum->pending + held, bytes, take);
    bytes += take;
    count -= take;
    if (held + take < 8) return;
    sum->hash = AddWord(sum->hash, sum->pending);
  }
  for (; count >= 8; bytes += 8, count -= 8) sum->hash = AddWord(sum->hash, bytes);
  memcpy(sum->pending, bytes, count);
}

uint64_t FinishChecksum(const ArchiveChecksum& sum) {
  unsigned char last[8] = {};
  memcpy(last, sum.pending, static_cast<size_t>(sum.length % 8));
  // The length goes in last: a cut-short cache whose missing bytes were zeros
  // sums differently all the same.
  return (AddWord(sum.hash, last) ^ sum.length) * Prime;
}
