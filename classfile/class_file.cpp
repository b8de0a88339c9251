#include "classfile/class_file.h"

#include "classfile/annotations.h"
#include "classfile/instructions.h"
#include "classfile/modified_utf8.h"

namespace {

// Where a part of the class file sits, for the messages: "method foo".
using Where = std::string;

bool CutShort(const Where& where, std::string* error) {
  *error = "The class file is cut short in " + where + ".";
  return false;
}

// Reads a two-byte index of one of tags; 0 passes when optional.
bool ReadIndex(ByteReader* reader, const ConstantPool& pool, uint32_t tags, bool optional,
               const Where& where, uint16_t* index, std::string* error) {
  *index = reader->U2();
  if (reader->failed()) return false;
  return (optional && *index == 0) || CheckConstant(pool, *index, tags, "in " + where, error);
}

// Reads an index of a Utf8 (or of a Class, Module or Package: its name) and
// gives the text; "" for an optional 0.
bool ReadText(ByteReader* reader, const ConstantPool& pool, uint32_t tags, bool optional,
              const Where& where, std::string* text, std::string* error) {
  uint16_t index;
  if (!ReadIndex(reader, pool, tags, optional, where, &index, error)) return false;
  *text = tags == TagBit(kUtf8) ? pool.Utf8(index) : pool.NameOf(index);
  return true;
}

bool ReadUtf8(ByteReader* reader, const ConstantPool& pool, const Where& where, std::string* text,
              std::string* error) {
  return ReadText(reader, pool, TagBit(kUtf8), false, where, text, error);
}

bool ReadClassName(ByteReader* reader, const ConstantPool& pool, const Where& where,
                   std::string* name, std::string* error) {
  return ReadText(reader, pool, TagBit(kClass), false, where, name, error);
}

// A table of class names behind a two-byte count.
bool ReadClassNames(ByteReader* reader, const ConstantPool& pool, const Where& where,
                    std::vector<std::string>* names, std::string* error) {
  names->resize(reader->Count(2));
  for (std::string& name : *names) {
    if (!ReadClassName(reader, pool, where, &name, error)) return false;
  }
  return !reader->failed();
}

enum class Outcome { kFailed, kRead, kUnknown };

// Reads a table of attributes, handing each one's body to visit(name, body,
// where) as a reader of its own; an attribute visit reads must be read whole.
template <typename Visit>
bool ReadAttributes(ByteReader* reader, const ConstantPool& pool, const Where& owner,
                    std::string* error, Visit visit) {
  Where where = "the attributes of " + owner;
  uint16_t count = reader->U2();
  for (uint32_t i = 0; i < count && !reader->failed(); ++i) {
    std::string name;
    if (!ReadUtf8(reader, pool, where, &name, error)) {
      return reader->failed() ? CutShort(where, error) : false;
    }
    uint32_t length = reader->U4();
    const unsigned char* bytes = reader->Take(length);
    if (bytes == nullptr) return CutShort("the " + name + " attribute of " + owner, error);
    ByteReader body(bytes, length);
    Where attribute = "the " + name + " attribute of " + owner;
    Outcome outcome = visit(name, &body, attribute);
    if (outcome == Outcome::kUnknown) continue;
    if (body.failed()) {
      *error = "The " + name + " attribute of " + owner + " runs past its length (" +
               std::to_string(length) + " bytes).";
      return false;
    }
    if (outcome == Outcome::kFailed) return false;
    if (body.remaining() != 0) {
      *error = "The " + name + " attribute of " + owner + " is " + std::to_string(length) +
               " bytes long, " + std::to_string(body.remaining()) + " more than it holds.";
      return false;
    }
  }
  return reader->failed() ? CutShort(where, error) : true;
}

Outcome Result(bool ok) { return ok ? Outcome::kRead : Outcome::kFailed; }

// The annotation attributes, which every kind of owner may have.
Outcome CheckIfAnnotations(const std::string& name, ByteReader* body, const ConstantPool& pool,
                           const Where& where, std::string* error) {
  AnnotationKind kind;
  if (!IsAnnotationAttribute(name, &kind)) return Outcome::kUnknown;
  return Result(CheckAnnotations(body, pool, kind, where, error));
}

// The pool entries each instruction may name.
uint32_t PoolTagsOf(uint8_t opcode) {
  const uint32_t loadable = TagBit(kInteger) | TagBit(kFloat) | TagBit(kString) | TagBit(kClass) |
                            TagBit(kMethodType) | TagBit(kMethodHandle) | TagBit(kDynamic);
  switch (opcode) {
    case 0x12:  // ldc
    case 0x13:  // ldc_w
      return loadable;
    case 0x14:  // ldc2_w
      return TagBit(kLong) | TagBit(kDouble) | TagBit(kDynamic);
    case 0xb2:  // getstatic, putstatic, getfield, putfield
    case 0xb3:
    case 0xb4:
    case 0xb5:
      return TagBit(kFieldref);
    case 0xb6:  // invokevirtual
      return TagBit(kMethodref);
    case 0xb7:  // invokespecial, invokestatic
    case 0xb8:
      return TagBit(kMethodref) | TagBit(kInterfaceMethodref);
    case 0xb9:  // invokeinterface
      return TagBit(kInterfaceMethodref);
    case 0xba:  // invokedynamic
      return TagBit(kInvokeDynamic);
    default:  // new, anewarray, checkcast, instanceof, multianewarray
      return TagBit(kClass);
  }
}

// Decodes every instruction and checks the pool entries they name.
bool CheckInstructions(const Code& code, const ConstantPool& pool, const Where& method,
                       std::string* error) {
  const unsigned char* bytes = code.bytes.data();
  for (uint32_t offset = 0; offset < code.bytes.size();) {
    Instruction instruction;
    if (!DecodeInstruction(bytes, code.bytes.size(), offset, &instruction, error)) {
      error->pop_back();  // its full stop
      *error += " in " + method + ".";
      return false;
    }
    Operands operands = OpcodeOf(instruction.opcode).operands;
    bool namesPool = operands == Operands::kPoolByte || operands == Operands::kPool ||
                     operands == Operands::kPoolCount || operands == Operands::kPoolZero ||
                     operands == Operands::kPoolDimensions;
    if (namesPool &&
        !CheckConstant(pool, instruction.index, PoolTagsOf(instruction.opcode),
                       "in " + method + " at offset " + std::to_string(offset), error)) {
      return false;
    }
    offset += instruction.length;
  }
  return true;
}

bool ReadLocals(ByteReader* body, const ConstantPool& pool, size_t codeLength, const Where& where,
                std::vector<LocalVariable>* locals, std::string* error) {
  locals->resize(body->Count(10));
  for (LocalVariable& local : *locals) {
    local.start = body->U2();
    local.length = body->U2();
    if (!ReadUtf8(body, pool, where, &local.name, error) ||
        !ReadUtf8(body, pool, where, &local.type, error)) {
      return false;
    }
    local.slot = body->U2();
    if (size_t{local.start} + local.length > codeLength) {
      *error = "A local variable in " + where + " reaches past the code's end.";
      return false;
    }
  }
  return !body->failed();
}

bool ReadCode(ByteReader* body, const ConstantPool& pool, const Where& method, const Where& where,
              Code* code, std::string* error) {
  code->maxStack = body->U2();
  code->maxLocals = body->U2();
  uint32_t length = body->U4();
  const unsigned char* bytes = body->Take(length);
  if (bytes == nullptr) return false;
  code->bytes.assign(bytes, bytes + length);
  code->handlers.resize(body->Count(8));
  for (ExceptionHandler& handler : code->handlers) {
    handler.start = body->U2();
    handler.end = body->U2();
    handler.handler = body->U2();
    if (!ReadIndex(body, pool, TagBit(kClass), true, where, &handler.catchType, error)) {
      return false;
    }
    if (handler.start >= handler.end || handler.end > length || handler.handler >= length) {
      *error = "An exception handler in " + where + " covers offsets outside the code.";
      return false;
    }
  }
  if (body->failed() || !CheckInstructions(*code, pool, method, error)) return false;
  return ReadAttributes(
      body, pool, where, error, [&](const std::string& name, ByteReader* inner, const Where& at) {
        if (name == "LineNumberTable") {
          code->lines.resize(inner->Count(4));
          for (LineNumber& line : code->lines) {
            line.start = inner->U2();
            line.line = inner->U2();
            if (!inner->failed() && line.start >= length) {
              *error = "A line number in " + at + " is for an offset past the code's end.";
              return Outcome::kFailed;
            }
          }
          return Outcome::kRead;
        }
        if (name == "LocalVariableTable") {
          return Result(ReadLocals(inner, pool, length, at, &code->locals, error));
        }
        if (name == "LocalVariableTypeTable") {
          return Result(ReadLocals(inner, pool, length, at, &code->localTypes, error));
        }
        return CheckIfAnnotations(name, inner, pool, at, error);
      });
}

bool ReadSignature(ByteReader* body, const ConstantPool& pool, const Where& where, bool* has,
                   std::string* signature, std::string* error) {
  *has = true;
  return ReadUtf8(body, pool, where, signature, error);
}

bool ReadMember(ByteReader* reader, const ConstantPool& pool, bool isMethod, const Where& place,
                Member* member, std::string* error) {
  member->access = reader->U2();
  if (!ReadUtf8(reader, pool, place, &member->name, error) ||
      !ReadUtf8(reader, pool, place, &member->descriptor, error)) {
    return reader->failed() ? CutShort(place, error) : false;
  }
  Where owner = (isMethod ? "method " : "field ") + member->name;
  return ReadAttributes(
      reader, pool, owner, error,
      [&](const std::string& name, ByteReader* body, const Where& where) {
        if (name == "Signature") {
          return Result(
              ReadSignature(body, pool, where, &member->hasSignature, &member->signature, error));
        }
        if (name == "Deprecated") {
          member->deprecated = true;
          return Outcome::kRead;
        }
        if (!isMethod && name == "ConstantValue") {
          return Result(ReadIndex(
              body, pool,
              TagBit(kInteger) | TagBit(kFloat) | TagBit(kLong) | TagBit(kDouble) | TagBit(kString),
              false, where, &member->constantValue, error));
        }
        if (isMethod && name == "Code") {
          member->hasCode = true;
          return Result(ReadCode(body, pool, owner, where, &member->code, error));
        }
        if (isMethod && name == "Exceptions") {
          member->hasExceptions = true;
          return Result(ReadClassNames(body, pool, where, &member->exceptions, error));
        }
        if (isMethod && name == "MethodParameters") {
          member->parameters.resize(body->U1());
          for (MethodParameter& parameter : member->parameters) {
            if (!ReadText(body, pool, TagBit(kUtf8), true, where, &parameter.name, error)) {
              return Outcome::kFailed;
            }
            parameter.access = body->U2();
          }
          return Outcome::kRead;
        }
        return CheckIfAnnotations(name, body, pool, where, error);
      });
}

bool ReadMembers(ByteReader* reader, const ConstantPool& pool, bool isMethod,
                 std::vector<Member>* members, std::string* error) {
  const char* kind = isMethod ? "methods" : "fields";
  uint16_t count = reader->Count(8);
  if (reader->failed()) return CutShort(std::string("the ") + kind, error);
  members->resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    Where place = std::string("the ") + kind + " (" + (isMethod ? "method " : "field ") +
                  std::to_string(i + 1) + " of " + std::to_string(count) + ")";
    if (!ReadMember(reader, pool, isMethod, place, &(*members)[i], error)) return false;
  }
  return true;
}

bool ReadModule(ByteReader* body, const ConstantPool& pool, const Where& where, ModuleInfo* module,
                std::string* error) {
  const uint32_t moduleTag = TagBit(kModule);
  if (!ReadText(body, pool, moduleTag, false, where, &module->name, error)) return false;
  module->flags = body->U2();
  if (!ReadText(body, pool, TagBit(kUtf8), true, where, &module->version, error)) return false;
  module->required.resize(body->Count(6));
  for (ModuleRequires& r : module->required) {
    if (!ReadText(body, pool, moduleTag, false, where, &r.module, error)) return false;
    r.flags = body->U2();
    if (!ReadText(body, pool, TagBit(kUtf8), true, where, &r.version, error)) return false;
  }
  for (std::vector<ModulePackage>* packages : {&module->exports, &module->opens}) {
    packages->resize(body->Count(6));
    for (ModulePackage& p : *packages) {
      if (!ReadText(body, pool, TagBit(kPackage), false, where, &p.package, error)) return false;
      p.flags = body->U2();
      p.modules.resize(body->Count(2));
      for (std::string& to : p.modules) {
        if (!ReadText(body, pool, moduleTag, false, where, &to, error)) return false;
      }
    }
  }
  if (!ReadClassNames(body, pool, where, &module->uses, error)) return false;
  module->provides.resize(body->Count(4));
  for (ModuleProvides& p : module->provides) {
    if (!ReadClassName(body, pool, where, &p.service, error) ||
        !ReadClassNames(body, pool, where, &p.implementations, error)) {
      return false;
    }
  }
  return !body->failed();
}

bool ReadBootstrapMethods(ByteReader* body, const ConstantPool& pool, const Where& where,
                          std::vector<BootstrapMethod>* methods, std::string* error) {
  const uint32_t loadable = TagBit(kInteger) | TagBit(kFloat) | TagBit(kLong) | TagBit(kDouble) |
                            TagBit(kClass) | TagBit(kString) | TagBit(kMethodHandle) |
                            TagBit(kMethodType) | TagBit(kDynamic);
  methods->resize(body->Count(4));
  for (BootstrapMethod& method : *methods) {
    if (!ReadIndex(body, pool, TagBit(kMethodHandle), false, where, &method.handle, error)) {
      return false;
    }
    method.arguments.resize(body->Count(2));
    for (uint16_t& argument : method.arguments) {
      if (!ReadIndex(body, pool, loadable, false, where, &argument, error)) return false;
    }
  }
  return !body->failed();
}

bool ReadRecord(ByteReader* body, const ConstantPool& pool, const Where& where,
                std::vector<RecordComponent>* components, std::string* error) {
  components->resize(body->Count(6));
  for (RecordComponent& component : *components) {
    if (!ReadUtf8(body, pool, where, &component.name, error) ||
        !ReadUtf8(body, pool, where, &component.descriptor, error)) {
      return false;
    }
    Where owner = "record component " + component.name;
    bool ok = ReadAttributes(
        body, pool, owner, error, [&](const std::string& name, ByteReader* inner, const Where& at) {
          if (name == "Signature") {
            return Result(ReadSignature(inner, pool, at, &component.hasSignature,
                                        &component.signature, error));
          }
          return CheckIfAnnotations(name, inner, pool, at, error);
        });
    if (!ok) return false;
  }
  return !body->failed();
}

bool ReadClassAttributes(ByteReader* reader, ParsedClass* out, std::string* error) {
  const ConstantPool& pool = out->pool;
  // Kept from each attribute as it comes, not laid out beforehand.
  out->annotations.clear();
  return ReadAttributes(
      reader, pool, "the class", error,
      [&](const std::string& name, ByteReader* body, const Where& where) {
        if (name == "SourceFile") {
          out->hasSourceFile = true;
          return Result(ReadUtf8(body, pool, where, &out->sourceFile, error));
        }
        if (name == "Signature") {
          return Result(
              ReadSignature(body, pool, where, &out->hasSignature, &out->signature, error));
        }
        if (name == "Deprecated") {
          out->deprecated = true;
          return Outcome::kRead;
        }
        if (name == "InnerClasses") {
          out->innerClasses.resize(body->Count(8));
          for (InnerClass& inner : out->innerClasses) {
            if (!ReadClassName(body, pool, where, &inner.inner, error) ||
                !ReadText(body, pool, TagBit(kClass), true, where, &inner.outer, error) ||
                !ReadText(body, pool, TagBit(kUtf8), true, where, &inner.simpleName, error)) {
              return Outcome::kFailed;
            }
            inner.access = body->U2();
          }
          return Outcome::kRead;
        }
        if (name == "EnclosingMethod") {
          out->hasEnclosingMethod = true;
          uint16_t method;
          if (!ReadClassName(body, pool, where, &out->enclosingClass, error) ||
              !ReadIndex(body, pool, TagBit(kNameAndType), true, where, &method, error)) {
            return Outcome::kFailed;
          }
          if (method != 0) {
            out->enclosingMethodName = pool.Utf8(pool.entries[method].first);
            out->enclosingMethodType = pool.Utf8(pool.entries[method].second);
          }
          return Outcome::kRead;
        }
        if (name == "BootstrapMethods") {
          return Result(ReadBootstrapMethods(body, pool, where, &out->bootstrapMethods, error));
        }
        if (name == "Record") {
          out->isRecord = true;
          return Result(ReadRecord(body, pool, where, &out->recordComponents, error));
        }
        if (name == "PermittedSubclasses") {
          return Result(ReadClassNames(body, pool, where, &out->permittedSubclasses, error));
        }
        if (name == "NestMembers") {
          return Result(ReadClassNames(body, pool, where, &out->nestMembers, error));
        }
        if (name == "NestHost") {
          return Result(ReadClassName(body, pool, where, &out->nestHost, error));
        }
        if (name == "Module") {
          out->hasModule = true;
          return Result(ReadModule(body, pool, where, &out->module, error));
        }
        if (name == "RuntimeVisibleAnnotations" || name == "RuntimeInvisibleAnnotations") {
          out->annotations.emplace_back();
          out->annotations.back().visible = name == "RuntimeVisibleAnnotations";
          return Result(ReadAnnotations(body, pool, where, &out->annotations.back().list, error));
        }
        if (name == "SourceDebugExtension") {
          out->hasSourceDebugExtension = true;
          out->sourceDebugExtension.clear();
          const size_t length = body->remaining();
          const unsigned char* bytes = body->Take(length);
          // Java does not read it: text that is not modified UTF-8 is kept up to there.
          DecodeModifiedUtf8(bytes, length, &out->sourceDebugExtension);
          return Outcome::kRead;
        }
        return CheckIfAnnotations(name, body, pool, where, error);
      });
}

// Each Dynamic and InvokeDynamic entry names a bootstrap method the class has.
bool CheckBootstrapNumbers(const ParsedClass& file, std::string* error) {
  const std::vector<Constant>& entries = file.pool.entries;
  for (size_t i = 1; i < entries.size(); ++i) {
    if ((entries[i].tag == kDynamic || entries[i].tag == kInvokeDynamic) &&
        entries[i].first >= file.bootstrapMethods.size()) {
      *error = "Constant pool entry " + std::to_string(i) + " (" + ConstantTagName(entries[i].tag) +
               ") names bootstrap method " + std::to_string(entries[i].first) +
               ", but the class has " + std::to_string(file.bootstrapMethods.size()) + ".";
      return false;
    }
  }
  return true;
}

// The magic number, the version, the pool, the class's access and its name.
bool ReadHeader(ByteReader* reader, ParsedClass* out, std::string* error) {
  uint32_t magic = reader->U4();
  if (reader->failed() || magic != 0xCAFEBABE) {
    *error = "This is no class file: it does not begin with CAFEBABE.";
    return false;
  }
  out->minorVersion = reader->U2();
  out->majorVersion = reader->U2();
  if (reader->failed()) return CutShort("its version", error);
  if (!ReadConstantPool(reader, &out->pool, error)) return false;
  out->access = reader->U2();
  if (!ReadIndex(reader, out->pool, TagBit(kClass), false, "this_class", &out->thisClass, error)) {
    return reader->failed() ? CutShort("the class's name", error) : false;
  }
  out->name = out->pool.NameOf(out->thisClass);
  return true;
}

// The superclass and the interfaces.
bool ReadSupertypes(ByteReader* reader, ParsedClass* out, std::string* error) {
  const ConstantPool& pool = out->pool;
  if (!ReadIndex(reader, pool, TagBit(kClass), true, "super_class", &out->superClass, error)) {
    return reader->failed() ? CutShort("the superclass's name", error) : false;
  }
  out->superName = pool.NameOf(out->superClass);
  if (!ReadClassNames(reader, pool, "the interfaces", &out->interfaces, error)) {
    return reader->failed() ? CutShort("the interfaces", error) : false;
  }
  return true;
}

}  // namespace

bool ReadClassHeader(const unsigned char* bytes, size_t size, ParsedClass* out,
                     std::string* error) {
  ByteReader reader(bytes, size);
  return ReadHeader(&reader, out, error);
}

bool ReadClassFile(const unsigned char* bytes, size_t size, ParsedClass* out, std::string* error) {
  ByteReader reader(bytes, size);
  return ReadHeader(&reader, out, error) && ReadSupertypes(&reader, out, error) &&
         ReadMembers(&reader, out->pool, false, &out->fields, error) &&
         ReadMembers(&reader, out->pool, true, &out->methods, error) &&
         ReadClassAttributes(&reader, out, error) && CheckBootstrapNumbers(*out, error);
}
