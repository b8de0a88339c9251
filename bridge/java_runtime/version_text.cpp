#include "bridge/java_runtime/version_text.h"

namespace {

// "1.8.0_392" is 8, "17.0.15" 17, "21" 21, "9-ea" 9; 0 for anything else.
int FeatureVersion(const std::string& version) {
  size_t at = version.compare(0, 2, "1.") == 0 ? 2 : 0;
  int number = 0;
  size_t digits = 0;
  for (; at < version.size() && version[at] >= '0' && version[at] <= '9' && digits < 4; ++at) {
    number = number * 10 + (version[at] - '0');
    ++digits;
  }
  if (digits == 0 || digits == 4) return 0;
  return number;
}

// The text between the first pair of double quotes from at on; false when there is none.
bool QuotedAfter(const std::string& text, size_t at, std::string* quoted) {
  size_t open = text.find('"', at);
  if (open == std::string::npos) return false;
  size_t close = text.find('"', open + 1);
  if (close == std::string::npos) return false;
  *quoted = text.substr(open + 1, close - open - 1);
  return true;
}

}  // namespace

int JavaVersionFromReleaseFile(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    std::string version;
    if (line.compare(0, 13, "JAVA_VERSION=") == 0 && QuotedAfter(line, 13, &version)) {
      return FeatureVersion(version);
    }
  }
  return 0;
}

int JavaVersionFromVersionOutput(const std::string& output) {
  size_t end = output.find('\n');
  std::string first = output.substr(0, end);
  size_t word = first.find(" version ");
  std::string version;
  if (word == std::string::npos || !QuotedAfter(first, word, &version)) return 0;
  return FeatureVersion(version);
}
