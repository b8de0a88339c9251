#include "classfile/bytecode_view.h"

#include <stdio.h>

#include "classfile/constant_text.h"
#include "classfile/instructions.h"
#include "classfile/java_types.h"
#include "classfile/javap_writer.h"
#include "classfile/kotlin_attributes.h"
#include "classfile/modified_utf8.h"

namespace {

// Interfaces' methods that are neither abstract, static nor private are
// default methods from class version 52 (Java 8) on.
const uint16_t kDefaultMethodsVersion = 52;

void PrintModifiers(JavapWriter* w, uint16_t access, const uint16_t* flags,
                    const char* const* names, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if ((access & flags[i]) != 0) {
      w->Print(names[i]);
      w->Print(" ");
    }
  }
}

void PrintClassModifiers(JavapWriter* w, uint16_t access) {
  static const uint16_t kFlags[] = {kAccPublic, kAccFinal, kAccAbstract};
  static const char* const kNames[] = {"public", "final", "abstract"};
  if ((access & kAccInterface) != 0) access &= ~kAccAbstract;
  PrintModifiers(w, access, kFlags, kNames, 3);
}

void PrintFieldModifiers(JavapWriter* w, uint16_t access) {
  static const uint16_t kFlags[] = {kAccPublic, kAccPrivate,  kAccProtected, kAccStatic,
                                    kAccFinal,  kAccVolatile, kAccTransient};
  static const char* const kNames[] = {"public", "private",  "protected", "static",
                                       "final",  "volatile", "transient"};
  PrintModifiers(w, access, kFlags, kNames, 7);
}

void PrintMethodModifiers(JavapWriter* w, uint16_t access) {
  static const uint16_t kFlags[] = {kAccPublic, kAccPrivate,  kAccProtected,
                                    kAccStatic, kAccFinal,    kAccSynchronized,
                                    kAccNative, kAccAbstract, kAccStrict};
  static const char* const kNames[] = {"public",       "private", "protected", "static",  "final",
                                       "synchronized", "native",  "abstract",  "strictfp"};
  PrintModifiers(w, access, kFlags, kNames, 9);
}

std::string Joined(const std::vector<std::string>& items, const char* separator, bool dotted) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    text += dotted ? DottedName(items[i]) : items[i];
  }
  return text;
}

void PrintModuleDeclaration(JavapWriter* w, const ModuleInfo& module) {
  if ((module.flags & 0x0020) != 0) w->Print("open ");
  w->Print("module ");
  w->Print(DottedName(module.name));
  if (!module.version.empty()) w->Print("@" + module.version);
}

// " extends ... implements ..." after the class's name.
void PrintSupertypes(JavapWriter* w, const ParsedClass& file) {
  bool isInterface = (file.access & kAccInterface) != 0;
  ClassSignature signature;
  if (file.hasSignature && ParseClassSignature(file.signature, &signature)) {
    if (signature.superclassOnly) {
      if (signature.superclass != "java/lang/Object") {
        w->Print(" extends " + DottedName(signature.superclass));
      }
      return;
    }
    std::string text = TypeParametersText(signature.typeParameters);
    if (isInterface) {
      if (!signature.interfaces.empty()) {
        text += " extends " + Joined(signature.interfaces, ", ", true);
      }
    } else {
      if (signature.superclass != "java/lang/Object") {
        text += " extends " + DottedName(signature.superclass);
      }
      if (!signature.interfaces.empty()) {
        text += " implements " + Joined(signature.interfaces, ", ", true);
      }
    }
    w->Print(text);
    return;
  }
  if (!isInterface && file.superClass != 0 && file.superName != "java/lang/Object") {
    w->Print(" extends " + DottedName(file.superName));
  }
  for (size_t i = 0; i < file.interfaces.size(); ++i) {
    w->Print(i == 0 ? (isInterface ? " extends " : " implements ") : ",");
    w->Print(DottedName(file.interfaces[i]));
  }
}

void PrintModuleDirectives(JavapWriter* w, const ModuleInfo& module) {
  for (const ModuleRequires& r : module.required) {
    w->Print("requires");
    if ((r.flags & 0x0040) != 0) w->Print(" static");
    if ((r.flags & 0x0020) != 0) w->Print(" transitive");
    w->Print(" " + r.module + ";");
    w->NewLine();
  }
  for (const auto* directives : {&module.exports, &module.opens}) {
    for (const ModulePackage& p : *directives) {
      w->Print(directives == &module.exports ? "exports " : "opens ");
      w->Print(DottedName(p.package));
      for (size_t i = 0; i < p.modules.size(); ++i) {
        w->Print(i == 0 ? " to" : ",");
        w->NewLine();
        if (i == 0) w->Indent(+1);
        w->Print(p.modules[i]);
      }
      w->Print(";");
      w->NewLine();
      if (!p.modules.empty()) w->Indent(-1);
    }
  }
  for (const std::string& service : module.uses) {
    w->Print("uses " + DottedName(service) + ";");
    w->NewLine();
  }
  for (const ModuleProvides& p : module.provides) {
    w->Print("provides  " + DottedName(p.service));
    for (size_t i = 0; i < p.implementations.size(); ++i) {
      w->Print(i == 0 ? " with" : ",");
      w->NewLine();
      if (i == 0) w->Indent(+1);
      w->Print(DottedName(p.implementations[i]));
    }
    w->Print(";");
    w->NewLine();
    if (!p.implementations.empty()) w->Indent(-1);
  }
}

void PrintField(JavapWriter* w, const Member& field, bool withCode) {
  PrintFieldModifiers(w, field.access);
  std::string type;
  if (!(field.hasSignature && ParseFieldSignature(field.signature, &type)) &&
      !DescriptorType(field.descriptor, &type)) {
    type = field.descriptor;
  }
  w->Print(DottedName(type) + " " + field.name + ";");
  w->NewLine();
  if (withCode) w->NewLine();
}

// The method's declaration, "public static <T> void sort(T[], int...) throws X".
void PrintMethodDeclaration(JavapWriter* w, const ParsedClass& file, const Member& method) {
  MethodSignature generic;
  bool hasGeneric = method.hasSignature && ParseMethodSignature(method.signature, &generic);
  MethodSignature erased;
  if (!hasGeneric &&
      !MethodDescriptorTypes(method.descriptor, &erased.parameters, &erased.result)) {
    erased.parameters = {method.descriptor};
    erased.result = "?";
  }
  const MethodSignature& types = hasGeneric ? generic : erased;
  PrintMethodModifiers(w, method.access);
  bool isInterface = (file.access & kAccInterface) != 0;
  if (isInterface && (method.access & (kAccAbstract | kAccStatic | kAccPrivate)) == 0 &&
      method.name != "<clinit>" && file.majorVersion >= kDefaultMethodsVersion) {
    w->Print("default ");
  }
  if (hasGeneric && !generic.typeParameters.empty()) {
    w->Print(TypeParametersText(generic.typeParameters) + " ");
  }
  std::string parameters = "(" + Joined(types.parameters, ", ", false) + ")";
  size_t brackets = parameters.rfind("[]");
  if ((method.access & kAccVarargs) != 0 && brackets != std::string::npos && brackets > 0) {
    parameters.replace(brackets, 2, "...");
  }
  parameters = DottedName(parameters);
  if (method.name == "<init>") {
    w->Print(DottedName(file.name) + parameters);
  } else if (method.name == "<clinit>") {
    w->Print("{}");
  } else {
    w->Print(DottedName(types.result) + " " + method.name + parameters);
  }
  if (method.hasExceptions) {
    w->Print(" throws ");
    // A generic throws clause javap of JDK 17 writes with the internal names.
    w->Print(hasGeneric && !generic.throws.empty() ? Joined(generic.throws, ", ", false)
                                                   : Joined(method.exceptions, ", ", true));
  }
  w->Print(";");
  w->NewLine();
}

std::string Number(const char* format, long long value) {
  char text[32];
  snprintf(text, sizeof text, format, value);
  return text;
}

void PrintSwitch(JavapWriter* w, const unsigned char* code, const Instruction& instruction) {
  uint32_t cases = SwitchCases(instruction);
  if (instruction.opcode == 0xaa) {
    w->Print("{ // " + std::to_string(instruction.low) + " to " + std::to_string(instruction.high));
  } else {
    w->Print("{ // " + std::to_string(instruction.pairs));
  }
  // The cases stand three indentation steps in: javap's "%4d: " is six wide.
  w->Indent(+3);
  for (uint32_t i = 0; i < cases; ++i) {
    w->NewLine();
    w->Print(Number("%12lld", SwitchMatch(code, instruction, i)) + ": " +
             std::to_string(SwitchTarget(code, instruction, i)));
  }
  w->NewLine();
  w->Print("     default: " + std::to_string(instruction.defaultTarget));
  w->NewLine();
  w->Print("}");
  w->Indent(-3);
}

void PrintInstruction(JavapWriter* w, const ParsedClass& file, const unsigned char* code,
                      const Instruction& instruction) {
  const OpcodeInfo& info = OpcodeOf(instruction.opcode);
  char head[64];
  snprintf(head, sizeof head, "%4u: %-13s ", instruction.offset,
           (std::string(info.mnemonic) + (instruction.wide ? "_w" : "")).c_str());
  w->Print(head);
  switch (info.operands) {
    case Operands::kByte:
    case Operands::kShort:
    case Operands::kBranch:
    case Operands::kBranchWide:
      w->Print(std::to_string(instruction.value));
      break;
    case Operands::kArrayType:
      w->Print(std::string(" ") + ArrayTypeName(instruction.value));
      break;
    case Operands::kLocal:
      w->Print(std::to_string(instruction.index));
      break;
    case Operands::kLocalByte:
      w->Print(std::to_string(instruction.index) + ", " + std::to_string(instruction.value));
      break;
    case Operands::kPoolByte:
    case Operands::kPool:
    case Operands::kPoolCount:
    case Operands::kPoolZero:
    case Operands::kPoolDimensions: {
      std::string operand = "#" + std::to_string(instruction.index);
      if (info.operands == Operands::kPoolCount || info.operands == Operands::kPoolZero ||
          info.operands == Operands::kPoolDimensions) {
        operand += ",  " + std::to_string(instruction.value);
      }
      w->Print(operand);
      w->Tab();
      w->Print("// " + ConstantComment(file.pool, instruction.index, file.thisClass));
      break;
    }
    case Operands::kTableSwitch:
    case Operands::kLookupSwitch:
      PrintSwitch(w, code, instruction);
      break;
    default:
      break;
  }
  w->NewLine();
}

void PrintCode(JavapWriter* w, const ParsedClass& file, const Code& code) {
  w->Print("Code:");
  w->NewLine();
  const unsigned char* bytes = code.bytes.data();
  std::string unused;
  for (uint32_t offset = 0; offset < code.bytes.size();) {
    Instruction instruction;
    // The reader decoded every instruction already.
    if (!DecodeInstruction(bytes, code.bytes.size(), offset, &instruction, &unused)) break;
    PrintInstruction(w, file, bytes, instruction);
    offset += instruction.length;
  }
  if (code.handlers.empty()) return;
  w->Print("Exception table:");
  w->NewLine();
  w->Indent(+1);
  w->Print(" from    to  target type");
  w->NewLine();
  for (const ExceptionHandler& handler : code.handlers) {
    char row[64];
    snprintf(row, sizeof row, " %5u %5u %5u   ", handler.start, handler.end, handler.handler);
    w->Print(row);
    w->Print(handler.catchType == 0 ? "any"
                                    : "Class " + CheckedName(file.pool.NameOf(handler.catchType)));
    w->NewLine();
  }
  w->Indent(-1);
}

std::string ClassText(const ParsedClass& file, bool withCode, std::vector<MethodPlace>* places) {
  std::string text;
  JavapWriter w(&text);
  if (file.hasSourceFile) {
    w.Print("Compiled from \"" + file.sourceFile + "\"");
    w.NewLine();
  }
  PrintClassModifiers(&w, file.access);
  bool isModule = (file.access & kAccModule) != 0;
  if (isModule && file.hasModule) {
    PrintModuleDeclaration(&w, file.module);
  } else {
    w.Print(isModule || (file.access & kAccInterface) == 0 ? "class " : "interface ");
    w.Print(DottedName(file.name));
    if (!isModule) PrintSupertypes(&w, file);
  }
  w.Print(" {");
  w.NewLine();
  w.Indent(+1);
  if (isModule) PrintModuleDirectives(&w, file.module);
  for (const Member& field : file.fields) PrintField(&w, field, withCode);
  size_t counted = 0, lines = 0;
  for (const Member& method : file.methods) {
    PrintMethodDeclaration(&w, file, method);
    if (places != nullptr) {
      // The declaration is the last line written, whole or not yet ended.
      for (; counted < text.size(); ++counted) lines += text[counted] == '\n' ? 1 : 0;
      MethodPlace place;
      place.line = !text.empty() && text.back() == '\n' ? lines - 1 : lines;
      for (const LineNumber& number : method.code.lines) {
        if (place.firstSourceLine == 0 || number.line < place.firstSourceLine) {
          place.firstSourceLine = number.line;
        }
        if (number.line > place.lastSourceLine) place.lastSourceLine = number.line;
      }
      places->push_back(place);
    }
    if (withCode && method.hasCode) {
      w.Indent(+1);
      PrintCode(&w, file, method.code);
      w.Indent(-1);
    }
    w.SetPendingNewLine(withCode);
  }
  w.SetPendingNewLine(false);
  w.Indent(-1);
  w.Print("}");
  w.NewLine();
  // What the Java view of a Kotlin class puts in a line stays readable here, whole.
  if (withCode) text += KotlinAttributesText(file);
  return LoneSurrogatesAsQuestionMarks(text);
}

bool TextOf(const unsigned char* bytes, size_t size, bool withCode, std::string* text,
            std::string* error) {
  ParsedClass file;
  if (!ReadClassFile(bytes, size, &file, error)) return false;
  *text = ClassText(file, withCode, nullptr);
  return true;
}

}  // namespace

std::string BytecodeView(const ParsedClass& file, std::vector<MethodPlace>* places) {
  return ClassText(file, true, places);
}

std::string ClassOutline(const ParsedClass& file) { return ClassText(file, false, nullptr); }

bool BytecodeViewOf(const unsigned char* bytes, size_t size, std::string* text,
                    std::string* error) {
  return TextOf(bytes, size, true, text, error);
}

bool ClassOutlineOf(const unsigned char* bytes, size_t size, std::string* text,
                    std::string* error) {
  return TextOf(bytes, size, false, text, error);
}
