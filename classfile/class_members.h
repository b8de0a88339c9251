// The class at a glance, as a reader of its source would name it: its kind
// and simple name with its type parameters ("final class Maps",
// "interface Cache<K, V>"), what it extends and implements, and its members
// in declaration order (nested classes, fields, constructors, methods), with
// simple type names. What the compiler made and the source does not declare
// (synthetic members, bridges, the static initializer, an enum's values()
// and valueOf(String), a record's generated toString, hashCode and equals)
// is left out. The thumbnail draws it; the class window's "Go to" lists it.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "classfile/class_file.h"

enum class MemberKind { kNested, kField, kConstructor, kMethod };

struct ClassMember {
  MemberKind kind = MemberKind::kMethod;
  // The name a declaration carries: a constructor's is the class's simple name.
  std::string name;
  // As listed: "appendln(char[], int, int)", "size: int", "class Entry".
  std::string label;
  // Methods and constructors: each parameter's simple type as declared
  // ("Map<? extends K, V>", "Object..."), and erased ("Map", "Object[]").
  std::vector<std::string> parameters;
  std::vector<std::string> erasedParameters;
  bool enumConstant = false;
  // Fields: file.fields' index; methods and constructors: file.methods'.
  size_t index = 0;
  // The original source lines of a method's code, each once, in the order
  // its instructions reach them (a constructor's own line comes first).
  std::vector<unsigned> lines;
};

struct ClassGlance {
  std::string kind;        // "final class", "interface", "enum", "record", "@interface", "module"
  std::string name;        // simple, with type parameters: "Showcase<T extends Comparable<T>>"
  std::string superclass;  // "" for none worth naming (Object, Enum, Record)
  std::vector<std::string> interfaces;  // an interface's are what it extends
  bool isInterface = false;
  std::vector<ClassMember> members;
};

// The glance of a class that ReadClassFile read.
ClassGlance ClassGlanceOf(const ParsedClass& file);

// The heading as lines: "final class Maps", then "extends AbstractMap<K, V>"
// and "implements Serializable, Cloneable" when there is something to name.
std::vector<std::string> ClassHeadingLines(const ClassGlance& glance);

// A type as javap's reader gives it ("java/util/Map$Entry<K, ? extends
// java/lang/Object>[]") with simple names ("Map.Entry<K, ? extends Object>[]").
std::string SimpleTypeText(const std::string& type);
