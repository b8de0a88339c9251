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

  bool Constant(uint32_t tags) {
    uint16_t index = reader->U2();
    return !reader->failed() && CheckConstant(pool, index, tags, "in " + where, error);
  }

  bool ElementValue(int depth) {
    if (depth > kMaxNesting) {
      *error = "The annotations in " + where + " nest deeper than " + std::to_string(kMaxNesting) +
               " levels.";
      return false;
    }
    char tag = static_cast<char>(reader->U1());
    switch (tag) {
      case 'B':
      case 'C':
      case 'I':
      case 'S':
      case 'Z':
        return Constant(TagBit(kInteger));
      case 'D':
        return Constant(TagBit(kDouble));
      case 'F':
        return Constant(TagBit(kFloat));
      case 'J':
        return Constant(TagBit(kLong));
      case 's':
      case 'c':
        return Constant(TagBit(kUtf8));
      case 'e':
        return Constant(TagBit(kUtf8)) && Constant(TagBit(kUtf8));
      case '@':
        return Annotation(depth + 1);
      case '[':
        for (uint16_t n = reader->U2(); n > 0 && !reader->failed(); --n) {
          if (!ElementValue(depth + 1)) return false;
        }
        return !reader->failed();
      default:
        if (!reader->failed()) {
          *error = "An annotation value in " + where + " has an unknown kind ('" +
                   std::string(1, tag) + "').";
        }
        return false;
    }
  }

  bool Annotation(int depth) {
    if (!Constant(TagBit(kUtf8))) return false;
    for (uint16_t pairs = reader->U2(); pairs > 0 && !reader->failed(); --pairs) {
      if (!Constant(TagBit(kUtf8)) || !ElementValue(depth)) return false;
    }
    return !reader->failed();
  }

  bool Annotations() {
    for (uint16_t n = reader->U2(); n > 0 && !reader->failed(); --n) {
      if (!Annotation(0)) return false;
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
    return !reader->failed() && Annotation(0);
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
      return walk.ElementValue(0);
  }
  return false;
}
