// A class file read whole, as far as Java 25 (version 69) defines it: the
// constant pool, the class's header, its fields and methods, and the
// attributes a viewer or decompiler reads. Each count, length and index is
// checked against the bytes and the pool while reading; a damaged file gives
// false and one sentence that says what is wrong and where. Annotations and
// type annotations are walked and checked but not kept; attributes the
// reader does not know are skipped; of the annotations only the class's own
// are kept.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "classfile/annotations.h"
#include "classfile/constant_pool.h"

// Access and property flags, as classes, fields, methods and inner classes
// use them (a bit means different things on different kinds).
enum AccessFlag : uint16_t {
  kAccPublic = 0x0001,
  kAccPrivate = 0x0002,
  kAccProtected = 0x0004,
  kAccStatic = 0x0008,
  kAccFinal = 0x0010,
  kAccSuper = 0x0020,         // class
  kAccSynchronized = 0x0020,  // method
  kAccVolatile = 0x0040,      // field
  kAccBridge = 0x0040,        // method
  kAccTransient = 0x0080,     // field
  kAccVarargs = 0x0080,       // method
  kAccNative = 0x0100,
  kAccInterface = 0x0200,
  kAccAbstract = 0x0400,
  kAccStrict = 0x0800,
  kAccSynthetic = 0x1000,
  kAccAnnotation = 0x2000,
  kAccEnum = 0x4000,
  kAccModule = 0x8000,  // class
  kAccMandated = 0x8000,
};

struct ExceptionHandler {
  uint16_t start = 0;
  uint16_t end = 0;
  uint16_t handler = 0;
  uint16_t catchType = 0;  // a Class entry, 0 for any
};

struct LineNumber {
  uint16_t start = 0;
  uint16_t line = 0;
};

// An entry of LocalVariableTable (type is the descriptor) or of
// LocalVariableTypeTable (type is the generic signature).
struct LocalVariable {
  uint16_t start = 0;
  uint16_t length = 0;
  uint16_t slot = 0;
  std::string name;
  std::string type;
};

struct Code {
  uint16_t maxStack = 0;
  uint16_t maxLocals = 0;
  std::vector<unsigned char> bytes;  // every instruction decodes and checks
  std::vector<ExceptionHandler> handlers;
  std::vector<LineNumber> lines;
  std::vector<LocalVariable> locals;
  std::vector<LocalVariable> localTypes;
};

struct MethodParameter {
  std::string name;  // "" when the class file names none
  uint16_t access = 0;
};

// A field or a method.
struct Member {
  uint16_t access = 0;
  std::string name;
  std::string descriptor;
  bool hasSignature = false;
  std::string signature;
  bool deprecated = false;
  // Fields: the ConstantValue's entry, 0 without one.
  uint16_t constantValue = 0;
  // Methods: the Exceptions attribute's classes, the code and the parameters.
  bool hasExceptions = false;
  std::vector<std::string> exceptions;
  bool hasCode = false;
  Code code;
  std::vector<MethodParameter> parameters;
};

struct InnerClass {
  std::string inner;
  std::string outer;       // "" for a local or anonymous class
  std::string simpleName;  // "" for an anonymous class
  uint16_t access = 0;
};

struct BootstrapMethod {
  uint16_t handle = 0;  // a MethodHandle entry
  std::vector<uint16_t> arguments;
};

struct RecordComponent {
  std::string name;
  std::string descriptor;
  bool hasSignature = false;
  std::string signature;
};

struct ModuleRequires {
  std::string module;
  uint16_t flags = 0;  // 0x0020 transitive, 0x0040 static phase
  std::string version;
};

// An exports or opens directive: the package and the modules it is limited to.
struct ModulePackage {
  std::string package;
  uint16_t flags = 0;
  std::vector<std::string> modules;
};

struct ModuleProvides {
  std::string service;
  std::vector<std::string> implementations;
};

struct ModuleInfo {
  std::string name;
  uint16_t flags = 0;  // 0x0020 open
  std::string version;
  std::vector<ModuleRequires> required;
  std::vector<ModulePackage> exports;
  std::vector<ModulePackage> opens;
  std::vector<std::string> uses;
  std::vector<ModuleProvides> provides;
};

struct ClassAnnotations {
  bool visible = false;  // RuntimeVisibleAnnotations
  std::vector<AnnotationValue> list;
};

// Names are internal names ("java/lang/String", or an array's descriptor).
struct ParsedClass {
  uint16_t minorVersion = 0;
  uint16_t majorVersion = 0;
  ConstantPool pool;
  uint16_t access = 0;
  uint16_t thisClass = 0;   // the Class entry
  uint16_t superClass = 0;  // 0 for java/lang/Object and module-info
  std::string name;
  std::string superName;
  std::vector<std::string> interfaces;
  std::vector<Member> fields;
  std::vector<Member> methods;

  bool hasSourceFile = false;
  std::string sourceFile;
  bool hasSignature = false;
  std::string signature;
  bool deprecated = false;
  std::vector<InnerClass> innerClasses;
  bool hasEnclosingMethod = false;
  std::string enclosingClass;
  std::string enclosingMethodName;  // "" when enclosed by no method
  std::string enclosingMethodType;
  std::vector<BootstrapMethod> bootstrapMethods;
  bool isRecord = false;
  std::vector<RecordComponent> recordComponents;
  std::vector<std::string> permittedSubclasses;
  std::string nestHost;
  std::vector<std::string> nestMembers;
  bool hasModule = false;
  ModuleInfo module;
  // The class's own Runtime(In)VisibleAnnotations, in the order of the
  // attributes, and its SourceDebugExtension (UTF-8).
  std::vector<ClassAnnotations> annotations;
  bool hasSourceDebugExtension = false;
  std::string sourceDebugExtension;
};

// Reads the whole class file; false with a sentence in *error (and *out
// partly filled) when it is no class file, is cut short or is damaged.
bool ReadClassFile(const unsigned char* bytes, size_t size, ParsedClass* out, std::string* error);

// Reads only as far as the class's own name (the version, the pool, the
// access flags and this_class), which a cut class file may still hold whole.
bool ReadClassHeader(const unsigned char* bytes, size_t size, ParsedClass* out, std::string* error);
