#include "classfile/annotation_text.h"

#include "classfile/constant_text.h"
#include "classfile/java_types.h"

namespace {

std::string Index(uint16_t index) { return "#" + std::to_string(index); }

// "Lkotlin/Metadata;" as "kotlin.Metadata"; another descriptor as it is.
std::string TypeName(const ConstantPool& pool, uint16_t index) {
  const std::string& descriptor = pool.Utf8(index);
  if (descriptor.size() > 2 && descriptor.front() == 'L' && descriptor.back() == ';') {
    return DottedName(descriptor.substr(1, descriptor.size() - 2));
  }
  return descriptor;
}

void PrintValue(JavapWriter* w, const ConstantPool& pool, const AnnotationValue& value,
                bool nested);

void PrintElements(JavapWriter* w, const ConstantPool& pool, const AnnotationValue& annotation,
                   bool nested) {
  w->Print((nested ? "@" : "") + TypeName(pool, annotation.index));
  if (annotation.values.empty()) return;
  w->Print("(");
  w->NewLine();
  w->Indent(+1);
  for (size_t i = 0; i < annotation.values.size() && i < annotation.names.size(); ++i) {
    w->Print(pool.Utf8(annotation.names[i]) + "=");
    PrintValue(w, pool, annotation.values[i], true);
    w->NewLine();
  }
  w->Indent(-1);
  w->Print(")");
}

void PrintValue(JavapWriter* w, const ConstantPool& pool, const AnnotationValue& value,
                bool nested) {
  switch (value.tag) {
    case 'B':
      w->Print("(byte) " + ConstantValueText(pool, value.index));
      break;
    case 'S':
      w->Print("(short) " + ConstantValueText(pool, value.index));
      break;
    case 'C': {
      const Constant* c = pool.Get(value.index);
      const uint32_t code = c != nullptr ? static_cast<uint32_t>(c->bits) & 0xFFFF : 0;
      // The character as UTF-8, escaped as a string's would be.
      std::string text;
      if (code < 0x80) {
        text = std::string(1, static_cast<char>(code));
      } else if (code < 0x800) {
        text = {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
      } else {
        text = {static_cast<char>(0xE0 | (code >> 12)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
      }
      w->Print("'" + EscapedJavaText(text) + "'");
      break;
    }
    case 'Z': {
      const Constant* c = pool.Get(value.index);
      w->Print(c != nullptr && c->bits != 0 ? "true" : "false");
      break;
    }
    case 's':
      w->Print("\"" + EscapedJavaText(pool.Utf8(value.index)) + "\"");
      break;
    case 'c':
      w->Print("class " + pool.Utf8(value.index));
      break;
    case 'e':
      w->Print(pool.Utf8(value.index) + "." + pool.Utf8(value.second));
      break;
    case '@':
      PrintElements(w, pool, value, nested);
      break;
    case '[':
      w->Print("[");
      for (size_t i = 0; i < value.values.size(); ++i) {
        if (i > 0) w->Print(",");
        PrintValue(w, pool, value.values[i], true);
      }
      w->Print("]");
      break;
    default:  // I, J, F, D
      w->Print(ConstantValueText(pool, value.index));
  }
}

std::string ValueIndices(const AnnotationValue& value) {
  switch (value.tag) {
    case 'e':
      return "e" + Index(value.index) + "." + Index(value.second);
    case '@':
      return "@" + AnnotationIndicesText(value);
    case '[': {
      std::string text = "[";
      for (size_t i = 0; i < value.values.size(); ++i) {
        text += (i > 0 ? "," : "") + ValueIndices(value.values[i]);
      }
      return text + "]";
    }
    default:
      return std::string(1, value.tag) + Index(value.index);
  }
}

}  // namespace

std::string AnnotationIndicesText(const AnnotationValue& annotation) {
  std::string text = Index(annotation.index) + "(";
  for (size_t i = 0; i < annotation.values.size() && i < annotation.names.size(); ++i) {
    text +=
        (i > 0 ? "," : "") + Index(annotation.names[i]) + "=" + ValueIndices(annotation.values[i]);
  }
  return text + ")";
}

void PrintAnnotation(JavapWriter* w, const ConstantPool& pool, const AnnotationValue& annotation) {
  PrintElements(w, pool, annotation, false);
}
