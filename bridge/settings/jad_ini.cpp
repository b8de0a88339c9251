#include "bridge/settings/jad_ini.h"

#include <stdio.h>
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

// As the file writes the value: "0.5" rather than "0.500000".
std::string WrittenMinutes(double minutes) {
  char text[32];
  snprintf(text, sizeof text, "%g", minutes);
  return text;
}

}  // namespace

const BridgeSettingKey BridgeSettingKeys[] = {
    {"java",
     [](const std::string& value, BridgeSettings* settings) {
       settings->java = value;
       return true;
     },
     [](const BridgeSettings& settings) { return settings.java; }},
    {"timeout",
     [](const std::string& value, BridgeSettings* settings) {
       return ParseSeconds(value, &settings->timeoutSeconds);
     },
     [](const BridgeSettings& settings) { return std::to_string(settings.timeoutSeconds); }},
    {"service",
     [](const std::string& value, BridgeSettings* settings) {
       return ParseSwitch(value, &settings->service);
     },
     [](const BridgeSettings& settings) { return std::string(settings.service ? "on" : "off"); }},
    {"service_idle_minutes",
     [](const std::string& value, BridgeSettings* settings) {
       return ParseMinutes(value, &settings->serviceIdleMinutes);
     },
     [](const BridgeSettings& settings) { return WrittenMinutes(settings.serviceIdleMinutes); }},
    {"service_heap",
     [](const std::string& value, BridgeSettings* settings) {
       return ParseHeap(value, &settings->serviceHeap);
     },
     [](const BridgeSettings& settings) { return settings.serviceHeap; }},
    {"cache",
     [](const std::string& value, BridgeSettings* settings) {
       return ParseSwitch(value, &settings->cache);
     },
     [](const BridgeSettings& settings) { return std::string(settings.cache ? "on" : "off"); }},
    {"decompiler",
     [](const std::string& value, BridgeSettings* settings) {
       settings->decompiler = value;
       return true;
     },
     [](const BridgeSettings& settings) { return settings.decompiler; }},
    {"lines",
     [](const std::string& value, BridgeSettings* settings) {
       settings->lines = value;
       return true;
     },
     [](const BridgeSettings& settings) { return settings.lines; }},
};
const size_t BridgeSettingKeyCount = sizeof BridgeSettingKeys / sizeof BridgeSettingKeys[0];

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
    const std::string key = Trimmed(line.substr(0, equals));
    for (const BridgeSettingKey& known : BridgeSettingKeys) {
      if (key == known.name) known.read(Trimmed(line.substr(equals + 1)), &settings);
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
