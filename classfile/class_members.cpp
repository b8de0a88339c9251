#include "classfile/class_members.h"

#include <algorithm>

#include "classfile/instructions.h"
#include "classfile/java_types.h"

namespace {

bool Has(uint16_t access, uint16_t flag) { return (access & flag) != 0; }

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) text += (i > 0 ? ", " : "") + items[i];
  return text;
}

// The class's own simple name: the one its InnerClasses entry gives a
// nested or local class, its binary name for an anonymous one ("Modern$1"),
// else its name past the package and the last '$'.
std::string OwnSimpleName(const ParsedClass& file) {
  std::string name = file.name.substr(file.name.rfind('/') + 1);
  for (const InnerClass& inner : file.innerClasses) {
    if (inner.inner == file.name) return inner.simpleName.empty() ? name : inner.simpleName;
  }
  size_t dollar = name.rfind('$');
  return dollar != std::string::npos && dollar + 1 < name.size() ? name.substr(dollar + 1) : name;
}

std::string KindOf(const ParsedClass& file) {
  uint16_t access = file.access;
  if (Has(access, kAccModule)) return "module";
  if (Has(access, kAccAnnotation)) return "@interface";
  std::string sealed = file.permittedSubclasses.empty() ? "" : "sealed ";
  if (Has(access, kAccInterface)) return sealed + "interface";
  if (Has(access, kAccEnum)) return "enum";
  if (file.isRecord) return "record";
  if (Has(access, kAccAbstract)) return sealed + "abstract class";
  if (Has(access, kAccFinal)) return "final class";
  return sealed + "class";
}

// A record's toString, hashCode and equals that the compiler generated: a
// call site that java.lang.runtime.ObjectMethods bootstraps.
bool IsGeneratedRecordMethod(const ParsedClass& file, const Member& method) {
  if (!file.isRecord || !method.hasCode) return false;
  const std::vector<unsigned char>& code = method.code.bytes;
  std::string unused;
  for (uint32_t offset = 0; offset < code.size();) {
    Instruction instruction;
    if (!DecodeInstruction(code.data(), code.size(), offset, &instruction, &unused)) return false;
    offset += instruction.length;
    if (instruction.opcode != 0xba) continue;  // invokedynamic
    const Constant* site = file.pool.Get(instruction.index);
    if (site == nullptr || site->first >= file.bootstrapMethods.size()) continue;
    const Constant* handle = file.pool.Get(file.bootstrapMethods[site->first].handle);
    const Constant* reference = handle != nullptr ? file.pool.Get(handle->second) : nullptr;
    if (reference != nullptr &&
        file.pool.NameOf(reference->first) == "java/lang/runtime/ObjectMethods") {
      return true;
    }
  }
  return false;
}

// What a source leaves to the compiler, which the engines do not write.
bool IsLeftOut(const ParsedClass& file, const Member& method) {
  if (Has(method.access, kAccSynthetic | kAccBridge) || method.name == "<clinit>") return true;
  if (Has(file.access, kAccEnum) && Has(method.access, kAccStatic)) {
    std::string self = "L" + file.name + ";";
    if (method.name == "values" && method.descriptor == "()[" + self) return true;
    if (method.name == "valueOf" && method.descriptor == "(Ljava/lang/String;)" + self) return true;
  }
  return IsGeneratedRecordMethod(file, method);
}

// "Object[]" as the last parameter of a varargs method is "Object...".
void MarkVarargs(std::vector<std::string>* types) {
  if (types->empty()) return;
  std::string& last = types->back();
  if (last.size() >= 2 && last.compare(last.size() - 2, 2, "[]") == 0) {
    last.replace(last.size() - 2, 2, "...");
  }
}

ClassMember MethodMember(const ParsedClass& file, size_t index, const std::string& className) {
  const Member& method = file.methods[index];
  ClassMember member;
  member.index = index;
  bool constructor = method.name == "<init>";
  member.kind = constructor ? MemberKind::kConstructor : MemberKind::kMethod;
  member.name = constructor ? className : method.name;

  std::vector<std::string> erased;
  std::string result;
  if (!MethodDescriptorTypes(method.descriptor, &erased, &result)) erased.clear();
  for (const std::string& type : erased) member.erasedParameters.push_back(SimpleTypeText(type));
  MethodSignature generic;
  // An inner class's constructor may have a signature without the outer
  // instance its descriptor takes: the declared parameters are the signature's.
  if (method.hasSignature && ParseMethodSignature(method.signature, &generic)) {
    for (const std::string& type : generic.parameters) {
      member.parameters.push_back(SimpleTypeText(type));
    }
  } else {
    member.parameters = member.erasedParameters;
  }
  if (Has(method.access, kAccVarargs)) MarkVarargs(&member.parameters);
  member.label = member.name + "(" + Joined(member.parameters) + ")";

  // The table lists lines in any order; what runs first is at the lowest start.
  std::vector<LineNumber> byStart = method.code.lines;
  std::stable_sort(byStart.begin(), byStart.end(),
                   [](const LineNumber& a, const LineNumber& b) { return a.start < b.start; });
  for (const LineNumber& number : byStart) {
    if (std::find(member.lines.begin(), member.lines.end(), number.line) == member.lines.end()) {
      member.lines.push_back(number.line);
    }
  }
  return member;
}

ClassMember FieldMember(const ParsedClass& file, size_t index) {
  const Member& field = file.fields[index];
  ClassMember member;
  member.kind = MemberKind::kField;
  member.index = index;
  member.name = field.name;
  member.enumConstant = Has(field.access, kAccEnum);
  std::string type;
  if (!(field.hasSignature && ParseFieldSignature(field.signature, &type)) &&
      !DescriptorType(field.descriptor, &type)) {
    type = field.descriptor;
  }
  member.label = field.name + ": " + SimpleTypeText(type);
  return member;
}

std::string NestedKind(uint16_t access) {
  if (Has(access, kAccAnnotation)) return "@interface";
  if (Has(access, kAccInterface)) return "interface";
  if (Has(access, kAccEnum)) return "enum";
  return "class";
}

}  // namespace

std::string SimpleTypeText(const std::string& type) {
  std::string text;
  size_t partStart = 0;  // where the name being copied began in text
  for (char c : type) {
    if (c == '/') {
      text.erase(partStart);  // a package name: dropped
      continue;
    }
    bool delimiter = c == '<' || c == '>' || c == ',' || c == ' ' || c == '[' || c == ']' ||
                     c == '&' || c == '?' || c == '.';
    text.push_back(c == '$' ? '.' : c);
    if (delimiter) partStart = text.size();
  }
  return text;
}

ClassGlance ClassGlanceOf(const ParsedClass& file) {
  ClassGlance glance;
  glance.kind = KindOf(file);
  glance.isInterface = Has(file.access, kAccInterface);
  std::string simple = OwnSimpleName(file);
  if (Has(file.access, kAccModule)) {
    glance.name = file.hasModule ? file.module.name : simple;
    return glance;
  }
  ClassSignature signature;
  bool generic = file.hasSignature && ParseClassSignature(file.signature, &signature);
  glance.name =
      simple + (generic ? TypeParametersText(signature.typeParameters, SimpleTypeText) : "");
  std::string superclass = generic ? signature.superclass : file.superName;
  std::vector<std::string> interfaces =
      generic && !signature.superclassOnly ? signature.interfaces : file.interfaces;
  // What every enum, record and annotation extends or implements goes unsaid,
  // as in their sources.
  const std::string erasedSuper = superclass.substr(0, superclass.find('<'));
  if (!glance.isInterface && erasedSuper != "java/lang/Object" && erasedSuper != "java/lang/Enum" &&
      erasedSuper != "java/lang/Record" && !superclass.empty()) {
    glance.superclass = SimpleTypeText(superclass);
  }
  for (const std::string& type : interfaces) {
    if (type == "java/lang/annotation/Annotation" && Has(file.access, kAccAnnotation)) continue;
    glance.interfaces.push_back(SimpleTypeText(type));
  }

  for (const InnerClass& inner : file.innerClasses) {
    if (inner.outer != file.name || inner.simpleName.empty() || Has(inner.access, kAccSynthetic)) {
      continue;
    }
    ClassMember member;
    member.kind = MemberKind::kNested;
    member.name = inner.simpleName;
    member.label = NestedKind(inner.access) + " " + inner.simpleName;
    glance.members.push_back(member);
  }
  for (size_t i = 0; i < file.fields.size(); ++i) {
    if (!Has(file.fields[i].access, kAccSynthetic)) glance.members.push_back(FieldMember(file, i));
  }
  for (bool constructors : {true, false}) {
    for (size_t i = 0; i < file.methods.size(); ++i) {
      const Member& method = file.methods[i];
      if ((method.name == "<init>") != constructors || IsLeftOut(file, method)) continue;
      glance.members.push_back(MethodMember(file, i, simple));
    }
  }
  return glance;
}

std::vector<std::string> ClassHeadingLines(const ClassGlance& glance) {
  std::vector<std::string> lines = {glance.kind + " " + glance.name};
  if (!glance.superclass.empty()) lines.push_back("extends " + glance.superclass);
  if (!glance.interfaces.empty()) {
    lines.push_back((glance.isInterface ? "extends " : "implements ") + Joined(glance.interfaces));
  }
  return lines;
}
