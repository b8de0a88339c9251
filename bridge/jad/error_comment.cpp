#include "bridge/jad/error_comment.h"

std::string ErrorComment(const std::vector<std::string>& lines) {
  std::string comment = "/*\n";
  for (const std::string& line : lines) {
    std::string safe = line;
    for (size_t at = safe.find("*/"); at != std::string::npos; at = safe.find("*/", at + 2)) {
      safe.insert(at + 1, " ");
    }
    comment += safe.empty() ? " *\n" : " * " + safe + "\n";
  }
  return comment + " */\n";
}

std::vector<std::string> LastLines(const std::string& output, size_t count, size_t maxBytes) {
  std::vector<std::string> lines;
  size_t end = output.size();
  while (lines.size() < count && end > 0) {
    size_t start = output.find_last_of("\r\n", end - 1);
    start = start == std::string::npos ? 0 : start + 1;
    std::string line = output.substr(start, end - start);
    if (line.find_first_not_of(" \t") != std::string::npos) {
      if (line.size() > maxBytes) {
        size_t cut = maxBytes;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        line = line.substr(0, cut) + "...";
      }
      lines.insert(lines.begin(), line);
    }
    end = start == 0 ? 0 : start - 1;
  }
  return lines;
}
