// Jad's command line as the plugin writes it, "-lnc -o -s EXT NAME": what the
// bridge takes from it. Jad's other options are accepted and ignored (with
// their values, for those that take one). An extension that ends in ".kt"
// asks for Kotlin (the plugin's Kotlin view does): the original Jad knows no
// such request and writes Java all the same, but its output, unlike the
// bridge's, does not begin with UTF-8's byte-order mark.
#pragma once

#include <string>
#include <vector>

struct JadRequest {
  bool valid = false;             // an input was named
  std::string input;              // the class file: NAME, with ".class" added unless it ends so
  std::string inputStem;          // NAME's file name without a directory or ".class"
  std::string extension = "jad";  // of the output file, without a leading dot
  bool lineNumbers = false;       // -lnc: original line numbers as comments
  bool kotlin = false;            // the extension ends in ".kt" (or is "kt"): Kotlin asked for
};

// arguments: UTF-8, without the program's own name. The input is always the
// last argument, whatever it looks like (the plugin's stamp may start with a
// minus sign).
JadRequest ParseJadCommandLine(const std::vector<std::string>& arguments);

// name as a file name's stem: a character that Windows does not allow in a
// file name becomes '_', and '_' is added to an empty name or a device name
// that Windows reserves (CON, NUL, COM1, ...).
std::string SafeFileStem(const std::string& name);

// The output's file name: "<stem>.<extension>". The stem is className or,
// when that is empty, the input's stem, made safe as above and cut (at a
// character's start, never to nothing) so that the whole name takes at most
// maxUnits UTF-16 units where it can.
std::string OutputFileName(const std::string& className, const JadRequest& request,
                           size_t maxUnits);
