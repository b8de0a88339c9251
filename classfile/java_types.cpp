#include "classfile/java_types.h"

namespace {

const char* PrimitiveName(char code) {
  switch (code) {
    case 'B':
      return "byte";
    case 'C':
      return "char";
    case 'D':
      return "double";
    case 'F':
      return "float";
    case 'I':
      return "int";
    case 'J':
      return "long";
    case 'S':
      return "short";
    case 'Z':
      return "boolean";
    case 'V':
      return "void";
    default:
      return nullptr;
  }
}

// Reads one type of a descriptor at *at.
bool ReadDescriptorType(const std::string& text, size_t* at, std::string* type) {
  size_t dimensions = 0;
  while (*at < text.size() && text[*at] == '[') ++dimensions, ++*at;
  if (*at >= text.size()) return false;
  char code = text[(*at)++];
  if (code == 'L') {
    size_t end = text.find(';', *at);
    if (end == std::string::npos) return false;
    *type = text.substr(*at, end - *at);
    *at = end + 1;
  } else if (PrimitiveName(code) != nullptr) {
    *type = PrimitiveName(code);
  } else {
    return false;
  }
  for (; dimensions > 0; --dimensions) *type += "[]";
  return true;
}

// A recursive reader of generic signatures, giving each type as text.
class SignatureReader {
 public:
  explicit SignatureReader(const std::string& text) : text_(text) {}

  bool AtEnd() const { return at_ >= text_.size(); }
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  bool Skip(char c) {
    if (!Peek(c)) return false;
    ++at_;
    return true;
  }

  bool Type(std::string* out, int depth = 0) {
    // Nesting this deep is no signature javac writes; it keeps made-up bytes
    // from exhausting the stack.
    if (AtEnd() || depth > 64) return false;
    char c = text_[at_++];
    if (PrimitiveName(c) != nullptr) {
      *out = PrimitiveName(c);
      return true;
    }
    switch (c) {
      case 'L':
        return ClassType(out, depth);
      case 'T': {
        size_t end = text_.find(';', at_);
        if (end == std::string::npos) return false;
        *out = text_.substr(at_, end - at_);
        at_ = end + 1;
        return true;
      }
      case '[':
        if (!Type(out, depth + 1)) return false;
        *out += "[]";
        return true;
      case '*':
        *out = "?";
        return true;
      case '+':
      case '-':
        if (!Type(out, depth + 1)) return false;
        *out = (c == '+' ? "? extends " : "? super ") + *out;
        return true;
      default:
        return false;
    }
  }

  bool TypeParameters(std::vector<TypeParameter>* out) {
    if (!Peek('<')) return true;
    ++at_;
    while (!Peek('>')) {
      size_t colon = text_.find(':', at_);
      if (AtEnd() || colon == std::string::npos) return false;
      TypeParameter parameter;
      parameter.name = text_.substr(at_, colon - at_);
      at_ = colon + 1;
      if (!Peek(':') && !Type(&parameter.classBound)) return false;
      while (Peek(':')) {
        ++at_;
        parameter.interfaceBounds.emplace_back();
        if (!Type(&parameter.interfaceBounds.back())) return false;
      }
      out->push_back(parameter);
    }
    ++at_;
    return true;
  }

  // Types up to the closing character (the opening one already read).
  bool Types(char close, std::vector<std::string>* out, int depth) {
    while (!Peek(close)) {
      out->emplace_back();
      if (!Type(&out->back(), depth + 1)) return false;
    }
    ++at_;
    return true;
  }

 private:
  // "java/util/Map<TK;TV;>.Entry<...>;" after the L: each part's name with its
  // arguments, the parts joined by '.'.
  bool ClassType(std::string* out, int depth) {
    out->clear();
    std::string name;
    std::vector<std::string> arguments;
    while (!AtEnd()) {
      char c = text_[at_];
      if (c == '<') {
        ++at_;
        arguments.clear();
        if (!Types('>', &arguments, depth)) return false;
      } else if (c == '.' || c == ';') {
        ++at_;
        if (!out->empty()) *out += ".";
        *out += name;
        for (size_t i = 0; i < arguments.size(); ++i) {
          *out += (i == 0 ? "<" : ", ") + arguments[i];
        }
        if (!arguments.empty()) *out += ">";
        name.clear();
        arguments.clear();
        if (c == ';') return true;
      } else {
        name.push_back(c);
        ++at_;
      }
    }
    return false;
  }

  const std::string& text_;
  size_t at_ = 0;
};

}  // namespace

std::string DottedName(const std::string& internalName) {
  std::string name = internalName;
  for (char& c : name) {
    if (c == '/') c = '.';
  }
  return name;
}

bool DescriptorType(const std::string& descriptor, std::string* type) {
  size_t at = 0;
  return ReadDescriptorType(descriptor, &at, type) && at == descriptor.size();
}

bool MethodDescriptorTypes(const std::string& descriptor, std::vector<std::string>* parameters,
                           std::string* result) {
  if (descriptor.empty() || descriptor[0] != '(') return false;
  size_t at = 1;
  while (at < descriptor.size() && descriptor[at] != ')') {
    parameters->emplace_back();
    if (!ReadDescriptorType(descriptor, &at, &parameters->back())) return false;
  }
  ++at;
  return at < descriptor.size() && ReadDescriptorType(descriptor, &at, result) &&
         at == descriptor.size();
}

bool ParseClassSignature(const std::string& signature, ClassSignature* out) {
  SignatureReader reader(signature);
  if (!reader.TypeParameters(&out->typeParameters) || !reader.Type(&out->superclass)) return false;
  out->superclassOnly = out->typeParameters.empty() && reader.AtEnd();
  while (!reader.AtEnd()) {
    out->interfaces.emplace_back();
    if (!reader.Type(&out->interfaces.back())) return false;
  }
  return true;
}

bool ParseMethodSignature(const std::string& signature, MethodSignature* out) {
  SignatureReader reader(signature);
  if (!reader.TypeParameters(&out->typeParameters) || !reader.Skip('(') ||
      !reader.Types(')', &out->parameters, 0) || !reader.Type(&out->result)) {
    return false;
  }
  // Whatever follows the throws clause javap leaves unread, and so does this.
  while (reader.Skip('^')) {
    out->throws.emplace_back();
    if (!reader.Type(&out->throws.back())) return false;
  }
  return true;
}

bool ParseFieldSignature(const std::string& signature, std::string* type) {
  SignatureReader reader(signature);
  return reader.Type(type) && reader.AtEnd();
}

std::string TypeParametersText(const std::vector<TypeParameter>& parameters,
                               std::string (*typeName)(const std::string&)) {
  std::string text;
  for (const TypeParameter& parameter : parameters) {
    text += (text.empty() ? "<" : ", ") + parameter.name;
    const char* separator = " extends ";
    if (!parameter.classBound.empty() && parameter.classBound != "java/lang/Object") {
      text += separator + typeName(parameter.classBound);
      separator = " & ";
    }
    for (const std::string& bound : parameter.interfaceBounds) {
      text += separator + typeName(bound);
      separator = " & ";
    }
  }
  return text.empty() ? text : text + ">";
}
