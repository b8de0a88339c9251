#include "bridge/shown_class/class_family.h"

namespace {

bool EndsWithClass(const std::string& name) {
  static const char suffix[] = ".class";
  if (name.size() < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    char c = name[name.size() - 6 + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

std::string FamilyName(const std::string& classFileName) {
  if (!EndsWithClass(classFileName)) return "";
  std::string stem = classFileName.substr(0, classFileName.size() - 6);
  // A class may be named "$Outer": its own '$'s are not a nesting mark.
  return stem.substr(0, stem.find('$', stem.find_first_not_of('$')));
}

bool InFamily(const std::string& shownFileName, const std::string& fileName) {
  // Class names are case-sensitive even where file names are not.
  std::string family = FamilyName(shownFileName);
  return !family.empty() && fileName != shownFileName && FamilyName(fileName) == family;
}
