// A word on a Windows command line, quoted so that the program's start-up
// code (CommandLineToArgvW's rules, which Java's launcher follows) reads it
// back as the same single argument.
#pragma once

#include <string>

// word unchanged when it needs no quotes (and always is false), else in double
// quotes with its quotes and the backslashes before them escaped.
std::string QuotedArgument(const std::string& word, bool always = false);
