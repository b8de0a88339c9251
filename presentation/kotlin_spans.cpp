#include "presentation/kotlin_spans.h"

#include <algorithm>

#include "presentation/kotlin_keywords.h"

namespace {

// Templates inside templates ("${"${x}"}") are read this deep; a deeper "${"
// stays string text, so that made-up text cannot exhaust the stack.
constexpr int kMaxTemplateDepth = 16;
// How far the words after a modifier are looked through for its declaration.
constexpr int kMaxLookAhead = 32;

enum class TokenKind : unsigned char { Word, Quoted, Number, Literal, Punct };

// A word, number, literal or punctuation character of the code outside
// string templates, for the keywords that depend on their neighbours.
struct Token {
  int start;
  int end;
  TokenKind kind;
  KotlinWordKind word;  // of a Word
  wchar_t punct;        // of a Punct
  bool lineStart;       // the first token of its line
  int depth;            // the braces open before it
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(wchar_t c) {
  return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}
// Letters beyond ASCII are read as parts of names.
bool IsWordStart(wchar_t c) {
  return c == L'_' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c >= 0x80;
}
bool IsWordPart(wchar_t c) { return IsWordStart(c) || IsDigit(c); }
bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\f' || c == L'\v'; }

class Scanner {
 public:
  Scanner(const wchar_t* text, int length) : text_(text), length_(length) {}

  std::vector<KotlinSpan> Run() {
    Code(0);
    Classify();
    std::sort(spans_.begin(), spans_.end(),
              [](const KotlinSpan& a, const KotlinSpan& b) { return a.start < b.start; });
    return spans_;
  }

 private:
  wchar_t At(int p) const { return p >= 0 && p < length_ ? text_[p] : L'\0'; }

  void Span(int start, int end, KotlinSpanKind kind) {
    if (end > start) spans_.push_back({start, end, kind});
  }

  void Add(int start, int end, TokenKind kind, KotlinWordKind word, wchar_t punct) {
    tokens_.push_back({start, end, kind, word, punct, lineStart_, depth_});
    lineStart_ = false;
  }

  // Code up to the text's end or, inside a template (nesting > 0), up to the
  // "}" that closes it; true, with p_ behind it, when that came.
  bool Code(int nesting) {
    int braces = 0;
    while (p_ < length_) {
      const wchar_t c = text_[p_];
      if (IsLineEnd(c)) {
        lineStart_ = true;
        ++p_;
      } else if (IsSpace(c)) {
        ++p_;
      } else if (c == L'/' && At(p_ + 1) == L'/') {
        int end = p_;
        while (end < length_ && !IsLineEnd(text_[end])) ++end;
        Span(p_, end, KotlinSpanKind::Comment);
        p_ = end;
      } else if (c == L'/' && At(p_ + 1) == L'*') {
        BlockComment();
      } else if (c == L'"') {
        const int start = p_;
        if (nesting == 0) Add(start, start + 1, TokenKind::Literal, KotlinWordKind::None, 0);
        p_ = StringLiteral(start, At(p_ + 1) == L'"' && At(p_ + 2) == L'"', nesting);
        if (nesting == 0) tokens_.back().end = p_;
      } else if (c == L'\'') {
        CharLiteral(nesting);
      } else if (IsDigit(c) || (c == L'.' && IsDigit(At(p_ + 1)) && At(p_ - 1) != L'.' &&
                                !IsWordPart(At(p_ - 1)))) {
        Number(nesting);
      } else if (c == L'`') {
        int end = p_ + 1;
        while (end < length_ && text_[end] != L'`' && !IsLineEnd(text_[end])) ++end;
        if (At(end) == L'`') ++end;
        if (nesting == 0) Add(p_, end, TokenKind::Quoted, KotlinWordKind::None, 0);
        p_ = end;
      } else if (IsWordStart(c)) {
        int end = p_ + 1;
        while (end < length_ && IsWordPart(text_[end])) ++end;
        const KotlinWordKind word = KotlinWordKindOf(text_ + p_, end - p_);
        if (nesting == 0) {
          Add(p_, end, TokenKind::Word, word, 0);
        } else if (word == KotlinWordKind::Hard) {
          // Inside a template only the hard keywords: its code is short.
          Span(p_, end, KotlinSpanKind::Keyword);
        }
        p_ = end;
      } else {
        if (c == L'}' && nesting > 0 && braces == 0) {
          ++p_;
          return true;
        }
        if (c == L'{') {
          ++braces;
          ++depth_;
        } else if (c == L'}') {
          --braces;
          if (depth_ > 0) --depth_;
        }
        if (nesting == 0) Add(p_, p_ + 1, TokenKind::Punct, KotlinWordKind::None, c);
        ++p_;
      }
    }
    return false;
  }

  // From "/*" through the "*/" that closes it, those of comments inside it
  // passed over (Kotlin's block comments nest), or to the text's end.
  void BlockComment() {
    const int start = p_;
    int open = 0;
    while (p_ < length_) {
      if (text_[p_] == L'/' && At(p_ + 1) == L'*') {
        ++open;
        p_ += 2;
      } else if (text_[p_] == L'*' && At(p_ + 1) == L'/') {
        p_ += 2;
        if (--open == 0) break;
      } else {
        ++p_;
      }
    }
    Span(start, p_, KotlinSpanKind::Comment);
  }

  // A string from its quote at start, raw (""") or not; returns the position
  // behind it. A plain string ends at its line's end when it is not closed
  // before; escapes (\", \$) are text; "$name" and "${...}" are templates.
  int StringLiteral(int start, bool raw, int nesting) {
    int q = start + (raw ? 3 : 1);
    int segment = start;
    while (q < length_) {
      const wchar_t c = text_[q];
      if (!raw && IsLineEnd(c)) break;
      if (!raw && c == L'\\') {
        q += IsLineEnd(At(q + 1)) || q + 1 >= length_ ? 1 : 2;
        continue;
      }
      if (c == L'"') {
        if (!raw) {
          Span(segment, q + 1, KotlinSpanKind::Literal);
          return q + 1;
        }
        if (At(q + 1) == L'"' && At(q + 2) == L'"') {
          // Of a run of more quotes, the last three close the string.
          int end = q;
          while (end < length_ && text_[end] == L'"') ++end;
          Span(segment, end, KotlinSpanKind::Literal);
          return end;
        }
      } else if (c == L'$' && IsWordStart(At(q + 1))) {
        int end = q + 2;
        while (end < length_ && IsWordPart(text_[end])) ++end;
        Span(segment, q, KotlinSpanKind::Literal);
        Span(q, end, KotlinSpanKind::Template);
        segment = q = end;
        continue;
      } else if (c == L'$' && At(q + 1) == L'{' && nesting < kMaxTemplateDepth) {
        Span(segment, q, KotlinSpanKind::Literal);
        Span(q, q + 2, KotlinSpanKind::Template);
        p_ = q + 2;
        const bool lineStart = lineStart_;
        const int depth = depth_;
        const bool closed = Code(nesting + 1);
        lineStart_ = lineStart;
        depth_ = depth;
        if (closed) Span(p_ - 1, p_, KotlinSpanKind::Template);
        segment = q = p_;
        continue;
      }
      ++q;
    }
    Span(segment, q, KotlinSpanKind::Literal);
    return q;
  }

  void CharLiteral(int nesting) {
    int end = p_ + 1;
    while (end < length_ && text_[end] != L'\'' && !IsLineEnd(text_[end])) {
      end += text_[end] == L'\\' && end + 1 < length_ && !IsLineEnd(text_[end + 1]) ? 2 : 1;
    }
    if (At(end) == L'\'') ++end;
    Span(p_, end, KotlinSpanKind::Literal);
    if (nesting == 0) Add(p_, end, TokenKind::Literal, KotlinWordKind::None, 0);
    p_ = end;
  }

  // 12, 1_000, 0x1F, 0b101, 1.5e-3, .5, with the suffixes f, L, u and uL.
  void Number(int nesting) {
    int q = p_;
    const wchar_t radix = static_cast<wchar_t>(At(q + 1) | 0x20);
    if (At(q) == L'0' && radix == L'x') {
      q += 2;
      while (IsHexDigit(At(q)) || At(q) == L'_') ++q;
    } else if (At(q) == L'0' && radix == L'b') {
      q += 2;
      while (At(q) == L'0' || At(q) == L'1' || At(q) == L'_') ++q;
    } else {
      while (IsDigit(At(q)) || At(q) == L'_') ++q;
      if (At(q) == L'.' && IsDigit(At(q + 1))) {
        ++q;
        while (IsDigit(At(q)) || At(q) == L'_') ++q;
      }
      if ((At(q) | 0x20) == L'e') {
        int r = q + 1;
        if (At(r) == L'+' || At(r) == L'-') ++r;
        if (IsDigit(At(r))) {
          q = r;
          while (IsDigit(At(q)) || At(q) == L'_') ++q;
        }
      }
    }
    if ((At(q) | 0x20) == L'f') {
      ++q;
    } else {
      if ((At(q) | 0x20) == L'u') ++q;
      if (At(q) == L'L') ++q;
    }
    Span(p_, q, KotlinSpanKind::Literal);
    if (nesting == 0) Add(p_, q, TokenKind::Number, KotlinWordKind::None, 0);
    p_ = q;
  }

  // --- The keywords that depend on their neighbours ---

  bool InRange(int i) const { return i >= 0 && i < static_cast<int>(tokens_.size()); }
  bool IsPunct(int i, wchar_t c) const {
    return InRange(i) && tokens_[i].kind == TokenKind::Punct && tokens_[i].punct == c;
  }
  bool IsWord(int i, const char* word) const {
    return InRange(i) && tokens_[i].kind == TokenKind::Word &&
           KotlinWordIs(text_ + tokens_[i].start, tokens_[i].end - tokens_[i].start, word);
  }
  bool IsKind(int i, KotlinWordKind kind) const {
    return InRange(i) && tokens_[i].kind == TokenKind::Word && tokens_[i].word == kind;
  }
  // A word that may name something: not a hard keyword.
  bool IsName(int i) const {
    return InRange(i) &&
           (tokens_[i].kind == TokenKind::Quoted ||
            (tokens_[i].kind == TokenKind::Word && tokens_[i].word != KotlinWordKind::Hard));
  }
  // On the same line as the token before it.
  bool Follows(int i) const { return InRange(i) && !tokens_[i].lineStart; }

  // A member's or a label's name: behind ".", "::" or "@".
  bool IsSelected(int i) const {
    return IsPunct(i - 1, L'.') || IsPunct(i - 1, L'@') ||
           (IsPunct(i - 1, L':') && IsPunct(i - 2, L':'));
  }

  // Behind an annotation at i ("@Name", "@a.b.Name", with its arguments), or i.
  int SkipAnnotation(int i) const {
    if (!IsPunct(i, L'@') || !IsName(i + 1)) return i;
    int j = i + 2;
    while (IsPunct(j, L'.') && IsName(j + 1)) j += 2;
    if (IsPunct(j, L'(') && tokens_[j].start == tokens_[j - 1].end) {
      int open = 0;
      for (int steps = 0; InRange(j) && steps < 4 * kMaxLookAhead; ++j, ++steps) {
        if (IsPunct(j, L'(')) ++open;
        if (IsPunct(j, L')') && --open == 0) return j + 1;
      }
    }
    return j;
  }

  // The first token from i on that is neither a modifier nor an annotation.
  int PastModifiers(int i) const {
    for (int steps = 0; InRange(i) && steps < kMaxLookAhead; ++steps) {
      if (IsKind(i, KotlinWordKind::Modifier) && !IsSelected(i)) {
        ++i;
        continue;
      }
      const int past = SkipAnnotation(i);
      if (past == i) break;
      i = past;
    }
    return i;
  }

  bool IsDeclaration(int i) const {
    return IsWord(i, "class") || IsWord(i, "interface") || IsWord(i, "fun") || IsWord(i, "val") ||
           IsWord(i, "var") || IsWord(i, "object") || IsWord(i, "typealias") ||
           IsWord(i, "constructor") || IsWord(i, "get") || IsWord(i, "set");
  }

  // A modifier is a keyword in front of a declaration (through other
  // modifiers and annotations); vararg, noinline and crossinline in front of
  // a parameter ("name:"); out and reified in front of a type parameter or
  // argument; suspend in front of a function type.
  bool ModifierIsKeyword(int i) const {
    if (IsSelected(i)) return false;
    const int target = PastModifiers(i);
    if (IsDeclaration(target)) return true;
    int first = i;
    while (IsKind(first - 1, KotlinWordKind::Modifier) && !IsSelected(first - 1)) --first;
    const Token& token = tokens_[i];
    const wchar_t* word = text_ + token.start;
    const int length = token.end - token.start;
    if (KotlinWordIs(word, length, "vararg") || KotlinWordIs(word, length, "noinline") ||
        KotlinWordIs(word, length, "crossinline")) {
      return IsName(target) && IsPunct(target + 1, L':');
    }
    if (KotlinWordIs(word, length, "out") || KotlinWordIs(word, length, "reified")) {
      return IsName(target) && (IsPunct(first - 1, L'<') || IsPunct(first - 1, L','));
    }
    if (KotlinWordIs(word, length, "suspend")) {
      return IsPunct(target, L'(') &&
             (IsPunct(first - 1, L':') || IsPunct(first - 1, L',') || IsPunct(first - 1, L'<') ||
              IsPunct(first - 1, L'(') || IsPunct(first - 1, L'>') || IsPunct(first - 1, L'='));
    }
    return false;
  }

  // A soft keyword where it is one; lineHead is the first word of its line
  // past modifiers and annotations, propertyDepth the depth of the property
  // whose accessors may follow (-1 for none).
  bool SoftIsKeyword(int i, int lineHead, int propertyDepth) const {
    if (IsSelected(i)) return false;
    if (IsWord(i, "get") || IsWord(i, "set")) {
      const bool placed =
          (tokens_[i].lineStart || i == lineHead) && tokens_[i].depth == propertyDepth;
      const bool modified = IsKind(i - 1, KotlinWordKind::Modifier) && keyword_[i - 1];
      return (placed || modified) &&
             (!Follows(i + 1) || IsPunct(i + 1, L'(') || IsPunct(i + 1, L'=') ||
              IsPunct(i + 1, L':') || IsPunct(i + 1, L'{') || IsPunct(i + 1, L';'));
    }
    if (IsWord(i, "by")) {
      const bool declaring = IsWord(lineHead, "val") || IsWord(lineHead, "var") ||
                             IsWord(lineHead, "class") || IsWord(lineHead, "object") ||
                             IsWord(lineHead, "interface");
      return declaring && lineHead < i && Follows(i) && Follows(i + 1) &&
             (IsName(i - 1) || IsPunct(i - 1, L'>') || IsPunct(i - 1, L')') ||
              IsPunct(i - 1, L'?'));
    }
    if (IsWord(i, "init")) {
      return (tokens_[i].lineStart || IsPunct(i - 1, L'}') || IsPunct(i - 1, L';')) &&
             IsPunct(i + 1, L'{');
    }
    if (IsWord(i, "constructor")) return IsPunct(i + 1, L'(') && !IsWord(i - 1, "fun");
    if (IsWord(i, "catch")) return IsPunct(i - 1, L'}') && IsPunct(i + 1, L'(');
    if (IsWord(i, "finally")) return IsPunct(i - 1, L'}') && IsPunct(i + 1, L'{');
    if (IsWord(i, "where")) {
      return !IsPunct(i - 1, L'(') && !IsPunct(i - 1, L',') && IsName(i + 1) &&
             IsPunct(i + 2, L':');
    }
    if (IsWord(i, "import")) return tokens_[i].lineStart && tokens_[i].depth == 0 && IsName(i + 1);
    return false;
  }

  void Classify() {
    const int count = static_cast<int>(tokens_.size());
    keyword_.assign(tokens_.size(), false);
    int lineHead = -1;
    int propertyDepth = -1;
    for (int i = 0; i < count; ++i) {
      const Token& token = tokens_[i];
      if (token.lineStart) {
        lineHead = PastModifiers(i);
        const bool accessor = IsWord(lineHead, "get") || IsWord(lineHead, "set");
        if (IsWord(lineHead, "val") || IsWord(lineHead, "var")) {
          propertyDepth = tokens_[lineHead].depth;
        } else if (!accessor && !IsPunct(i, L'}') && token.depth <= propertyDepth) {
          propertyDepth = -1;
        }
      }
      if (token.kind != TokenKind::Word) continue;
      switch (token.word) {
        case KotlinWordKind::Hard:
          keyword_[i] = true;
          break;
        case KotlinWordKind::Modifier:
          keyword_[i] = ModifierIsKeyword(i);
          break;
        case KotlinWordKind::Soft:
          keyword_[i] = SoftIsKeyword(i, lineHead, propertyDepth);
          break;
        case KotlinWordKind::None:
          break;
      }
      if (keyword_[i]) Span(token.start, token.end, KotlinSpanKind::Keyword);
    }
  }

  const wchar_t* text_;
  int length_;
  int p_ = 0;
  int depth_ = 0;
  bool lineStart_ = true;
  std::vector<Token> tokens_;
  std::vector<bool> keyword_;
  std::vector<KotlinSpan> spans_;
};

}  // namespace

std::vector<KotlinSpan> FindKotlinSpans(const wchar_t* text, int length) {
  if (text == nullptr || length <= 0) return {};
  return Scanner(text, length).Run();
}
