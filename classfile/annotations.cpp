#include "classfile/annotations.h"

namespace {

// Nested arrays and annotations go this deep at most, so that made-up bytes
// cannot exhaust the stack.
const int kMaxNesting = 64;

struct Walk {
  ByteReader* reader;
  const ConstantPool& pool;
  const std::string& where;
  std::string* error;

  // Reads a constant's index of one of tags; kept in *kept when given.
  bool Constant(uint32_t tags, uint16_t* kept = nullptr) {
    uint16_t index = reader->U2();
    if (kept != nullptr) *kept = index;
    return !reader->failed() && CheckConstant(pool, index, tags, "in " + where, error);
  }

  // Each reads one part, and keeps it in *out when given.
  bool ElementValue(int depth, AnnotationValue* out) {
    if (depth > kMaxNesting) {
      *error = "The annotations in " + where + " nest deeper than " + std::to_string(kMaxNesting) +
               " levels.";
      return false;
    }
    char tag = static_cast<char>(reader->U1());
    AnnotationValue ignored;
    AnnotationValue* value = out != nullptr ? out : &ignored;
    value->tag = tag;
    switch (tag) {
      case 'B':
      case 'C':
      case 'I':
      case 'S':
      case 'Z':
        return Constant(TagBit(kInteger), &value->index);
      case 'D':
        return Constant(TagBit(kDouble), &value->index);
      case 'F':
        return Constant(TagBit(kFloat), &value->index);
      case 'J':
        return Constant(TagBit(kLong), &value->index);
      case 's':
      case 'c':
        return Constant(TagBit(kUtf8), &value->index);
      case 'e':
        return Constant(TagBit(kUtf8), &value->index) && Constant(TagBit(kUtf8), &value->second);
      case '@':
        return Annotation(depth + 1, out);
      case '[': {
        uint16_t n = reader->Count(3);
        if (out != nullptr) out->values.resize(n);
        for (uint16_t i = 0; i < n && !reader->failed(); ++i) {
          if (!ElementValue(depth + 1, out != nullptr ? &out->values[i] : nullptr)) return false;
        }
        return !reader->failed();
      }
      default:
        if (!reader->failed()) {
          *error = "An annotation value in " + where + " has an unknown kind ('" +
                   std::string(1, tag) + "').";
        }
        return false;
    }
  }

  bool Annotation(int depth, AnnotationValue* out) {
    if (out != nullptr) out->tag = '@';
    if (!Constant(TagBit(kUtf8), out != nullptr ? &out->index : nullptr)) return false;
    uint16_t pairs = reader->Count(5);
    if (out != nullptr) {
      out->names.resize(pairs);
      out->values.resize(pairs);
    }
    for (uint16_t i = 0; i < pairs && !reader->failed(); ++i) {
      if (!Constant(TagBit(kUtf8), out != nullptr ? &out->names[i] : nullptr) ||
          !ElementValue(depth, out != nullptr ? &out->values[i] : nullptr)) {
        return false;
      }
    }
    return !reader->failed();
  }

  bool Annotations(std::vector<AnnotationValue>* out = nullptr) {
    uint16_t n = reader->Count(4);
    if (out != nullptr) out->resize(n);
    for (uint16_t i = 0; i < n && !reader->failed(); ++i) {
      if (!Annotation(0, out != nullptr ? &(*out)[i] : nullptr)) return false;
    }
    return !reader->failed();
  }

  // A type annotation's target and path, then the annotation itself.
  bool TypeAnnotation() {
    uint8_t target = reader->U1();
    switch (target) {
      case 0x00:  // type parameter of a class or method
      case 0x01:
      case 0x16:  // formal parameter
        reader->Take(1);
        break;
      case 0x10:  // supertype
      case 0x17:  // throws
      case 0x42:  // catch
      case 0x43:  // instanceof, new, method references
      case 0x44:
      case 0x45:
      case 0x46:
        reader->Take(2);
        break;
      case 0x11:  // type parameter bound
      case 0x12:
        reader->Take(2);
        break;
      case 0x13:  // field, return type, receiver
      case 0x14:
      case 0x15:
        break;
      case 0x40:  // local variable, resource variable
      case 0x41:
        reader->Take(6 * size_t{reader->U2()});
        break;
      case 0x47:  // cast, type arguments
      case 0x48:
      case 0x49:
      case 0x4A:
      case 0x4B:
        reader->Take(3);
        break;
      default:
        if (!reader->failed()) {
          *error = "A type annotation in " + where + " has an unknown target (" +
                   std::to_string(target) + ").";
        }
        return false;
    }
    reader->Take(2 * size_t{reader->U1()});  // the type path
    return !reader->failed() && Annotation(0, nullptr);
  }
};

}  // namespace

bool IsAnnotationAttribute(const std::string& name, AnnotationKind* kind) {
  if (name == "RuntimeVisibleAnnotations" || name == "RuntimeInvisibleAnnotations") {
    *kind = AnnotationKind::kAnnotations;
  } else if (name == "RuntimeVisibleParameterAnnotations" ||
             name == "RuntimeInvisibleParameterAnnotations") {
    *kind = AnnotationKind::kParameterAnnotations;
  } else if (name == "RuntimeVisibleTypeAnnotations" || name == "RuntimeInvisibleTypeAnnotations") {
    *kind = AnnotationKind::kTypeAnnotations;
  } else if (name == "AnnotationDefault") {
    *kind = AnnotationKind::kDefault;
  } else {
    return false;
  }
  return true;
}

bool CheckAnnotations(ByteReader* reader, const ConstantPool& pool, AnnotationKind kind,
                      const std::string& where, std::string* error) {
  Walk walk{reader, pool, where, error};
  switch (kind) {
    case AnnotationKind::kAnnotations:
      return walk.Annotations();
    case AnnotationKind::kParameterAnnotations:
      for (uint8_t n = reader->U1(); n > 0 && !reader->failed(); --n) {
        if (!walk.Annotations()) return false;
      }
      return !reader->failed();
    case AnnotationKind::kTypeAnnotations:
      for (uint16_t n = reader->U2(); n > 0 && !reader->failed(); --n) {
        if (!walk.TypeAnnotation()) return false;
      }
      return !reader->failed();
    case AnnotationKind::kDefault:
      return walk.ElementValue(0, nullptr);
  }
  return false;
}

bool ReadAnnotations(ByteReader* reader, const ConstantPool& pool, const std::string& where,
                     std::vector<AnnotationValue>* annotations, std::string* error) {
  Walk walk{reader, pool, where, error};
  return walk.Annotations(annotations);
}
