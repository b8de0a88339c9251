#include "bridge/class_data_cache/cache_names.h"

namespace {

const char Prefix[] = "dravik-java-";
const size_t HashDigits = 16;

std::string Hex(uint64_t value) {
  const char digits[] = "0123456789abcdef";
  std::string text;
  for (int shift = 60; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
  return text;
}

// Reads 16 lowercase hex digits at text[at]; false when they are not there.
bool ReadHex(const std::string& text, size_t at, uint64_t* value) {
  if (text.size() < at + HashDigits) return false;
  *value = 0;
  for (size_t i = at; i < at + HashDigits; ++i) {
    const char c = text[i];
    unsigned digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 16;
    if (digit == 16) return false;
    *value = (*value << 4) | digit;
  }
  return true;
}

}  // namespace

std::string HashIdentity(const std::vector<std::string>& parts) {
  // FNV-1a, 64 bits, with a separator that no part holds.
  uint64_t hash = 14695981039346656037ull;
  for (const std::string& part : parts) {
    for (char c : part + '\n') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return Hex(hash);
}

std::string ArchiveStem(const std::string& runtimeHash, const std::string& jarsHash) {
  return Prefix + runtimeHash + "-" + jarsHash;
}

std::string ArchiveFileName(const std::string& stem, uint64_t checksum) {
  return stem + "-" + Hex(checksum) + ".jsa";
}

bool ParseArchiveFileName(const std::string& name, ArchiveFileParts* parts) {
  const size_t runtime = sizeof Prefix - 1;
  const size_t jars = runtime + HashDigits + 1;
  const size_t rest = jars + HashDigits;
  uint64_t ignored;
  if (name.compare(0, runtime, Prefix) != 0 || !ReadHex(name, runtime, &ignored) ||
      name.size() <= rest || name[jars - 1] != '-' || !ReadHex(name, jars, &ignored)) {
    return false;
  }
  *parts = ArchiveFileParts();
  parts->runtimeHash = name.substr(runtime, HashDigits);
  parts->jarsHash = name.substr(jars, HashDigits);
  if (name[rest] == '.') {
    parts->suffix = name.substr(rest);
    return true;
  }
  parts->cache = name[rest] == '-' && name.size() == rest + 1 + HashDigits + 4 &&
                 ReadHex(name, rest + 1, &parts->checksum) &&
                 name.compare(rest + 1 + HashDigits, 4, ".jsa") == 0;
  return parts->cache;
}
