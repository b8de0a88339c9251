// javap's way of laying out lines: text is printed piece by piece; spaces are
// held back until something follows them on the line (so no line ends in a
// space), a line's first character brings the indentation, and a tab pads to
// the column 40 past the indentation.
#pragma once

#include <stddef.h>

#include <string>

class JavapWriter {
 public:
  explicit JavapWriter(std::string* out) : out_(out) {}

  void Print(const std::string& text);
  void Print(const char* text) { Print(std::string(text)); }
  void NewLine();
  void Indent(int delta) { indent_ += delta; }
  void Tab();
  // A blank line comes before whatever is printed next, if anything is.
  void SetPendingNewLine(bool pending) { pendingNewLine_ = pending; }

 private:
  std::string* out_;
  size_t lineStart_ = 0;  // where the line being written begins in *out_
  size_t lineUnits_ = 0;  // its length in UTF-16 units, as javap counts it
  int indent_ = 0;
  size_t pendingSpaces_ = 0;
  bool pendingNewLine_ = false;
};
