// The checksum a cache's name holds (cache_names.h): 64 bits over 8-byte
// words, quick enough to check a 20 MB cache at each use (Java's own check of
// its contents crashed Temurin 25 under Wine). It finds damage, not tampering:
// whoever can write the user's temporary folder can do worse.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct ArchiveChecksum {
  uint64_t hash = 14695981039346656037ull;
  uint64_t length = 0;
  unsigned char pending[8] = {};  // the bytes of a word not yet whole
};

// Adds bytes, in as many pieces as the reader likes.
void AddToChecksum(ArchiveChecksum* sum, const unsigned char* bytes, size_t count);

// The checksum of everything added.
uint64_t FinishChecksum(const ArchiveChecksum& sum);
