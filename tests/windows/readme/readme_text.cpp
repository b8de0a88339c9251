#include "tests/windows/readme/readme_text.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

std::string SourceFile(const std::string& path) {
  std::ifstream file(DRAVIK_SOURCE_DIR "/" + path, std::ios::binary);
  if (!file) return "";
  std::ostringstream bytes;
  bytes << file.rdbuf();
  std::string text;
  for (char c : bytes.str()) {
    if (c != '\r') text += c;
  }
  return text;
}

std::vector<std::string> KeyTableKeys(const std::string& text, const std::string& heading) {
  std::vector<std::string> keys;
  std::istringstream lines(text);
  std::string line;
  bool inTable = false;
  while (std::getline(lines, line)) {
    if (!inTable) {
      inTable = line == heading;
      continue;
    }
    if (line.empty()) break;
    // An entry: two blanks, the keys, then two blanks or more.
    if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') continue;
    const size_t end = line.find("  ", 2);
    const std::string column = line.substr(2, end == std::string::npos ? end : end - 2);
    size_t start = 0;
    for (;;) {
      const size_t comma = column.find(", ", start);
      keys.push_back(column.substr(start, comma == std::string::npos ? comma : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 2;
    }
  }
  return keys;
}

namespace {

std::vector<std::string> AllMatches(const std::string& text, const std::regex& pattern,
                                    size_t group) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    found.push_back((*it)[group].str());
  }
  return found;
}

}  // namespace

std::vector<std::string> NamedKeys(const std::string& text) {
  static const std::regex key(
      R"(\b(?:(?:Ctrl|Shift|Alt)\+)+(?:F\d{1,2}|Esc|[A-Z0-9])\b|\bF\d{1,2}\b)");
  return AllMatches(text, key, 0);
}

std::vector<std::string> NamedSettings(const std::string& text) {
  static const std::regex setting(R"((?:[^A-Za-z0-9_.-]|^)([a-z][a-z_]*)=)");
  return AllMatches(text, setting, 1);
}

std::vector<std::string> Unknown(const std::vector<std::string>& named,
                                 const std::set<std::string>& known) {
  std::vector<std::string> unknown;
  for (const std::string& name : named) {
    if (known.count(name) == 0 &&
        std::find(unknown.begin(), unknown.end(), name) == unknown.end()) {
      unknown.push_back(name);
    }
  }
  return unknown;
}

std::vector<std::string> StatedNumbers(const std::string& text, const std::string& pattern) {
  // A comment's mark at a line's start (jad.ini's ';') counts as a blank.
  static const std::regex blanks(R"((?:\n;|\s)+)");
  const std::string flat = std::regex_replace(text, blanks, " ");
  std::smatch match;
  std::vector<std::string> numbers;
  if (!std::regex_search(flat, match, std::regex(pattern))) return numbers;
  for (size_t i = 1; i < match.size(); ++i) numbers.push_back(match[i].str());
  return numbers;
}
