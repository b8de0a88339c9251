// What the bridge writes instead of source when it has none: a Java block
// comment that says what went wrong and what to do, so the Lister shows the
// reason in comment colour.
#pragma once

#include <string>
#include <vector>

// lines (UTF-8) as "/*", " * <line>" each (" *" for an empty one), " */",
// with LF line ends; a "*/" inside a line is written "* /" so that it cannot
// end the comment early.
std::string ErrorComment(const std::vector<std::string>& lines);

// The last lines of a program's output (UTF-8): at most count of them, empty
// ones left out, each cut to maxBytes bytes at a character's start.
std::vector<std::string> LastLines(const std::string& output, size_t count, size_t maxBytes);
