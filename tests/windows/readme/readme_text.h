// Reading the texts a user gets, for the tests that hold them to the code:
// a key table's keys, the keys and settings a text names, and the sentences
// that state numbers.
#pragma once

#include <set>
#include <string>
#include <vector>

// A file of the source tree (a path below it, '/'-separated), its line ends
// made LF; "" when it cannot be read.
std::string SourceFile(const std::string& path);

// The keys of the table under heading (a line of its own at the left edge):
// its entries are lines indented by two blanks, the keys first, separated by
// ", ", then two blanks or more and what they do (lines indented further go
// on with that); the table ends at an empty line. Empty when there is no such
// heading.
std::vector<std::string> KeyTableKeys(const std::string& text, const std::string& heading);

// Every key the text names with a modifier or as a function key: "Ctrl+B",
// "Shift+F10", "F7".
std::vector<std::string> NamedKeys(const std::string& text);

// Every setting the text names as "name=" (jad.ini's lower-case keys).
std::vector<std::string> NamedSettings(const std::string& text);

// The names not in known, each once, in the order named.
std::vector<std::string> Unknown(const std::vector<std::string>& named,
                                 const std::set<std::string>& known);

// The numbers pattern captures in the text, read with its whitespace (line
// breaks, indentation, the ';' that begins a line of jad.ini's comments) made
// single blanks; empty when it does not match.
std::vector<std::string> StatedNumbers(const std::string& text, const std::string& pattern);
