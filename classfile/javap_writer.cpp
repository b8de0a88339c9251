#include "classfile/javap_writer.h"

namespace {

const int kIndentWidth = 2;
const size_t kTabColumn = 40;

}  // namespace

void JavapWriter::Print(const std::string& text) {
  if (pendingNewLine_) {
    pendingNewLine_ = false;
    NewLine();
  }
  for (char c : text) {
    if (c == ' ') {
      ++pendingSpaces_;
    } else if (c == '\n') {
      NewLine();
    } else {
      if (out_->size() == lineStart_) pendingSpaces_ += static_cast<size_t>(indent_ * kIndentWidth);
      out_->append(pendingSpaces_, ' ');
      lineUnits_ += pendingSpaces_;
      pendingSpaces_ = 0;
      out_->push_back(c);
      unsigned char byte = static_cast<unsigned char>(c);
      // A lead byte starts a unit; a four-byte sequence is two units.
      if ((byte & 0xC0) != 0x80) lineUnits_ += byte >= 0xF0 ? 2 : 1;
    }
  }
}

void JavapWriter::NewLine() {
  pendingSpaces_ = 0;
  out_->push_back('\n');
  lineStart_ = out_->size();
  lineUnits_ = 0;
}

void JavapWriter::Tab() {
  size_t column = static_cast<size_t>(indent_ * kIndentWidth) + kTabColumn;
  pendingSpaces_ += column <= lineUnits_ ? 1 : column - lineUnits_;
}
