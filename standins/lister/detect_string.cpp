#include "standins/lister/detect_string.h"

#include <ctype.h>
#include <string.h>

#include <utility>
#include <vector>

namespace {

// A value of the expression language: a number or a string.
struct Value {
  bool is_string = false;
  long long number = 0;
  std::string text;
};

Value Number(long long n) {
  Value v;
  v.number = n;
  return v;
}

Value Text(std::string s) {
  Value v;
  v.is_string = true;
  v.text = std::move(s);
  return v;
}

bool Truthy(const Value& v) { return v.is_string ? !v.text.empty() : v.number != 0; }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (toupper(static_cast<unsigned char>(a[i])) != toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

// Recursive descent over the expression; the first error stops everything.
class Evaluator {
 public:
  Evaluator(const std::string& text, const DetectSubject& subject)
      : text_(text), subject_(subject) {}

  DetectResult Run() {
    DetectResult result;
    bool value = ParseOr();
    SkipBlanks();
    if (error_.empty() && pos_ != text_.size()) Fail("unexpected text");
    result.valid = error_.empty();
    result.offered = result.valid && value;
    result.error = error_;
    result.position = error_pos_;
    return result;
  }

 private:
  void Fail(const char* message) {
    if (!error_.empty()) return;
    error_ = message;
    error_pos_ = pos_;
  }
  bool Failed() const { return !error_.empty(); }

  void SkipBlanks() {
    while (pos_ < text_.size() && isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Take(const char* token) {
    SkipBlanks();
    size_t n = strlen(token);
    if (text_.compare(pos_, n, token) != 0) return false;
    pos_ += n;
    return true;
  }
  std::string Word() {
    SkipBlanks();
    size_t start = pos_;
    while (pos_ < text_.size() &&
           (isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
      ++pos_;
    }
    return text_.substr(start, pos_ - start);
  }

  bool ParseOr() {
    bool value = ParseAnd();
    while (!Failed() && Take("|")) {
      bool right = ParseAnd();
      value = value || right;
    }
    return value;
  }
  bool ParseAnd() {
    bool value = ParseUnary();
    while (!Failed() && Take("&")) {
      bool right = ParseUnary();
      value = value && right;
    }
    return value;
  }
  bool ParseUnary() {
    SkipBlanks();
    if (text_.compare(pos_, 2, "!=") != 0 && Take("!")) return !ParseUnary();
    if (Take("(")) {
      bool value = ParseOr();
      if (!Failed() && !Take(")")) Fail("missing )");
      return value;
    }
    size_t start = pos_;
    std::string word = Upper(Word());
    if (word == "FORCE") return subject_.force;
    if (word == "MULTIMEDIA") return false;
    pos_ = start;
    return ParseComparison();
  }

  bool ParseComparison() {
    Value left = ParseOperand();
    if (Failed()) return false;
    static const char* const kOperators[] = {"!=", "<=", ">=", "=", "<", ">"};
    for (const char* op : kOperators) {
      if (!Take(op)) continue;
      Value right = ParseOperand();
      return !Failed() && Compare(left, op, right);
    }
    return Truthy(left);
  }

  static bool Compare(const Value& a, const char* op, const Value& b) {
    bool equal_op = strcmp(op, "=") == 0;
    bool unequal_op = strcmp(op, "!=") == 0;
    if (a.is_string || b.is_string) {
      // Strings compare for (in)equality only, without regard to ASCII case.
      if (a.is_string != b.is_string) return unequal_op;
      bool same = EqualIgnoringCase(a.text, b.text);
      return equal_op ? same : unequal_op ? !same : false;
    }
    if (equal_op) return a.number == b.number;
    if (unequal_op) return a.number != b.number;
    if (strcmp(op, "<") == 0) return a.number < b.number;
    if (strcmp(op, ">") == 0) return a.number > b.number;
    if (strcmp(op, "<=") == 0) return a.number <= b.number;
    return a.number >= b.number;
  }

  Value ParseOperand() {
    SkipBlanks();
    if (pos_ >= text_.size()) {
      Fail("operand expected");
      return Value();
    }
    char c = text_[pos_];
    if (c == '"') return Text(ParseString());
    if (isdigit(static_cast<unsigned char>(c))) return Number(ParseNumber());
    if (Take("[")) {
      long long offset = ParseNumber();
      if (!Failed() && !Take("]")) Fail("missing ]");
      bool inside = offset >= 0 && static_cast<unsigned long long>(offset) < subject_.head.size();
      return Number(inside ? static_cast<unsigned char>(subject_.head[offset]) : -1);
    }
    size_t start = pos_;
    std::string word = Upper(Word());
    if (word == "EXT") return Text(subject_.extension);
    if (word == "SIZE") return Number(subject_.size);
    if (word == "FIND" || word == "FINDI") {
      if (!Take("(")) Fail("missing (");
      std::string needle = Failed() ? std::string() : ParseString();
      if (!Failed() && !Take(")")) Fail("missing )");
      if (Failed()) return Value();
      return Number(word == "FIND" ? subject_.head.find(needle) != std::string::npos
                                   : Upper(subject_.head).find(Upper(needle)) != std::string::npos);
    }
    pos_ = start;
    Fail(word.empty() ? "operand expected" : "unknown word");
    return Value();
  }

  std::string ParseString() {
    SkipBlanks();
    size_t quote = pos_;
    if (!Take("\"")) {
      Fail("string expected");
      return std::string();
    }
    size_t end = text_.find('"', pos_);
    if (end == std::string::npos) {
      pos_ = quote;
      Fail("unterminated string");
      return std::string();
    }
    std::string s = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return s;
  }

  long long ParseNumber() {
    SkipBlanks();
    long long n = 0;
    size_t start = pos_;
    while (pos_ < text_.size() && isdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (n < 1000000000000LL) n = n * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (pos_ == start) Fail("number expected");
    return n;
  }

  const std::string& text_;
  const DetectSubject& subject_;
  size_t pos_ = 0;
  std::string error_;
  size_t error_pos_ = 0;
};

std::string Narrow(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &s[0], n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

}  // namespace

DetectResult EvaluateDetectString(const std::string& expression, const DetectSubject& subject) {
  return Evaluator(expression, subject).Run();
}

DetectSubject DescribeFile(const std::wstring& path, bool force, size_t head_bytes) {
  DetectSubject subject;
  subject.force = force;
  size_t name_start = path.find_last_of(L"\\/");
  name_start = name_start == std::wstring::npos ? 0 : name_start + 1;
  size_t dot = path.find_last_of(L'.');
  if (dot != std::wstring::npos && dot >= name_start) {
    subject.extension = Narrow(path.substr(dot + 1));
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return subject;
  LARGE_INTEGER size = {};
  if (GetFileSizeEx(file, &size)) subject.size = size.QuadPart;
  std::vector<char> buffer(head_bytes);
  DWORD read = 0;
  if (head_bytes > 0 &&
      ReadFile(file, buffer.data(), static_cast<DWORD>(head_bytes), &read, nullptr)) {
    subject.head.assign(buffer.data(), read);
  }
  CloseHandle(file);
  return subject;
}
