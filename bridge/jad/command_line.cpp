#include "bridge/jad/command_line.h"

#include <string.h>

namespace {

// Jad's options that take the next argument as their value.
bool TakesValue(const std::string& option) {
  static const char* const withValue[] = {"-d",  "-s",  "-pa", "-pc", "-pe",
                                          "-pf", "-pl", "-pm", "-pp"};
  for (const char* name : withValue) {
    if (option == name) return true;
  }
  return false;
}

bool SameIgnoringAsciiCase(const std::string& text, size_t at, const char* word) {
  size_t length = strlen(word);
  if (text.size() - at != length) return false;
  for (size_t i = 0; i < length; ++i) {
    char c = text[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

bool EndsWithClass(const std::string& name) {
  return name.size() >= 6 && SameIgnoringAsciiCase(name, name.size() - 6, ".class");
}

// The device names that Windows reserves whatever extension follows them.
bool ReservedDeviceName(const std::string& stem) {
  static const char* const devices[] = {"con", "prn", "aux", "nul"};
  for (const char* device : devices) {
    if (SameIgnoringAsciiCase(stem, 0, device)) return true;
  }
  return stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9' &&
         (SameIgnoringAsciiCase(stem.substr(0, 3), 0, "com") ||
          SameIgnoringAsciiCase(stem.substr(0, 3), 0, "lpt"));
}

// Characters that cannot stand in a Windows file name.
bool Forbidden(unsigned char c) { return c < 0x20 || strchr("<>:\"/\\|?*", c) != nullptr; }

// The UTF-16 units of the UTF-8 sequence that starts with lead.
size_t Utf16Units(unsigned char lead) { return lead >= 0xF0 ? 2 : 1; }

bool StartsCharacter(unsigned char c) { return (c & 0xC0) != 0x80; }

}  // namespace

JadRequest ParseJadCommandLine(const std::vector<std::string>& arguments) {
  JadRequest request;
  if (arguments.empty() || arguments.back().empty()) return request;
  size_t last = arguments.size() - 1;
  for (size_t i = 0; i < last; ++i) {
    const std::string& option = arguments[i];
    if (option == "-lnc") {
      request.lineNumbers = true;
    } else if (TakesValue(option) && i + 1 < last) {
      if (option == "-s") {
        const std::string& value = arguments[i + 1];
        request.extension = !value.empty() && value[0] == '.' ? value.substr(1) : value;
      }
      ++i;
    }
  }
  const std::string& extension = request.extension;
  request.kotlin =
      SameIgnoringAsciiCase(extension, 0, "kt") ||
      (extension.size() > 3 && SameIgnoringAsciiCase(extension, extension.size() - 3, ".kt"));
  const std::string& name = arguments[last];
  request.input = EndsWithClass(name) ? name : name + ".class";
  size_t slash = name.find_last_of("\\/:");
  request.inputStem = slash == std::string::npos ? name : name.substr(slash + 1);
  if (EndsWithClass(request.inputStem)) request.inputStem.resize(request.inputStem.size() - 6);
  request.valid = true;
  return request;
}

std::string SafeFileStem(const std::string& name) {
  std::string stem = name;
  for (char& c : stem) {
    if (Forbidden(static_cast<unsigned char>(c))) c = '_';
  }
  if (stem.empty() || ReservedDeviceName(stem)) stem += "_";
  return stem;
}

std::string OutputFileName(const std::string& className, const JadRequest& request,
                           size_t maxUnits) {
  std::string stem = SafeFileStem(className.empty() ? request.inputStem : className);
  std::string suffix = "." + request.extension;
  // Cut the stem, never below one character, until the whole name fits.
  size_t units = suffix.size();
  size_t keep = 0;
  for (size_t at = 0; at < stem.size(); ++at) {
    unsigned char c = static_cast<unsigned char>(stem[at]);
    if (!StartsCharacter(c)) continue;
    if (at > 0 && units + Utf16Units(c) > maxUnits) break;
    units += Utf16Units(c);
    keep = at + 1;
    while (keep < stem.size() && !StartsCharacter(static_cast<unsigned char>(stem[keep]))) ++keep;
  }
  return stem.substr(0, keep) + suffix;
}
