#include "bridge/settings/jad_ini.h"

#include <stdlib.h>

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

bool ParseSwitch(const std::string& value, bool* on) {
  std::string lower;
  for (char c : value) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower == "on" || lower == "yes" || lower == "true" || lower == "1") {
    *on = true;
  } else if (lower == "off" || lower == "no" || lower == "false" || lower == "0") {
    *on = false;
  } else {
    return false;
  }
  return true;
}

// Plain decimal digits with at most one point: nothing Java's number parsing
// or a command line could read otherwise.
bool ParseMinutes(const std::string& value, double* minutes) {
  if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789.") != value.npos ||
      value.find('.') != value.rfind('.') || value == ".") {
    return false;
  }
  double parsed = strtod(value.c_str(), nullptr);
  if (!(parsed >= 0.01 && parsed <= 1440)) return false;
  *minutes = parsed;
  return true;
}

// Java's -Xmx size: 1 to 6 digits and a unit, so that it is one word.
bool ParseHeap(const std::string& value, std::string* heap) {
  if (value.size() < 2 || value.size() > 7) return false;
  char unit = value.back();
  std::string digits = value.substr(0, value.size() - 1);
  if (digits.find_first_not_of("0123456789") != digits.npos || digits[0] == '0' ||
      (unit != 'k' && unit != 'm' && unit != 'g' && unit != 'K' && unit != 'M' && unit != 'G')) {
    return false;
  }
  *heap = value;
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
      settings.decompiler = value;
    } else if (key == "lines") {
      settings.lines = value;
    } else if (key == "timeout") {
      ParseSeconds(value, &settings.timeoutSeconds);
    } else if (key == "service") {
      ParseSwitch(value, &settings.service);
    } else if (key == "cache") {
      ParseSwitch(value, &settings.cache);
    } else if (key == "service_idle_minutes") {
      ParseMinutes(value, &settings.serviceIdleMinutes);
    } else if (key == "service_heap") {
      ParseHeap(value, &settings.serviceHeap);
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
