#include "bridge/windows/argument_quoting.h"

std::string QuotedArgument(const std::string& word, bool always) {
  if (!always && !word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
    return word;
  }
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there they are doubled, and the
    // quote itself escaped.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}
