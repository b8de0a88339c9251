#include "bridge/bridge_settings.h"

#include <stdlib.h>

const char ProcyonTemplate[] =
    "\"{java}\" -Dfile.encoding=UTF-8 -cp "
    "\"{home}\\procyon\\procyon-decompiler.jar;{home}\\procyon\\procyon-compilertools.jar;"
    "{home}\\procyon\\procyon-core.jar;{home}\\procyon\\procyon-expressions.jar;"
    "{home}\\procyon\\procyon-reflection.jar;{home}\\procyon\\jcommander.jar\" "
    "com.strobel.decompiler.DecompilerDriver {lines} --unicode -o \"{out}\" \"{class}\"";

namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool ParseSeconds(const std::string& value, unsigned* seconds) {
  if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != value.npos) {
    return false;
  }
  unsigned long parsed = strtoul(value.c_str(), nullptr, 10);
  if (parsed < 1 || parsed > 86400) return false;
  *seconds = static_cast<unsigned>(parsed);
  return true;
}

}  // namespace

BridgeSettings ParseBridgeSettings(const std::string& text) {
  BridgeSettings settings;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[' ||
        equals == std::string::npos) {
      continue;
    }
    std::string key = Trimmed(line.substr(0, equals));
    std::string value = Trimmed(line.substr(equals + 1));
    if (key == "java") {
      settings.java = value;
    } else if (key == "decompiler") {
      settings.decompiler = value.empty() ? ProcyonTemplate : value;
    } else if (key == "lines") {
      settings.lines = value;
    } else if (key == "timeout") {
      ParseSeconds(value, &settings.timeoutSeconds);
    }
  }
  return settings;
}

std::string ExpandTemplate(const std::string& pattern,
                           const std::vector<std::pair<std::string, std::string>>& values) {
  std::string out;
  size_t at = 0;
  while (at < pattern.size()) {
    bool replaced = false;
    if (pattern[at] == '{') {
      for (const auto& value : values) {
        const std::string placeholder = "{" + value.first + "}";
        if (pattern.compare(at, placeholder.size(), placeholder) == 0) {
          out += value.second;
          at += placeholder.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += pattern[at++];
  }
  return out;
}

bool UsesPlaceholder(const std::string& pattern, const std::string& name) {
  return pattern.find("{" + name + "}") != std::string::npos;
}
