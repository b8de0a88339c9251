// Descriptors and generic signatures as the Java types javap writes for them.
// Class names stay in their internal form ("java/util/List<T>"), as javap
// keeps them in one place (a generic throws clause); DottedName gives the
// form it writes everywhere else.
#pragma once

#include <string>
#include <vector>

// "java/util/Map$Entry" -> "java.util.Map$Entry".
std::string DottedName(const std::string& internalName);

// A field descriptor ("[Ljava/lang/String;") as a type ("java/lang/String[]");
// false when it is no descriptor.
bool DescriptorType(const std::string& descriptor, std::string* type);

// A method descriptor's parameter types and return type.
bool MethodDescriptorTypes(const std::string& descriptor, std::vector<std::string>* parameters,
                           std::string* result);

// A formal type parameter: T, its class bound unless there is none, its
// interface bounds.
struct TypeParameter {
  std::string name;
  std::string classBound;  // "" for none ("T::Ljava/lang/Comparable;")
  std::vector<std::string> interfaceBounds;
};

struct ClassSignature {
  std::vector<TypeParameter> typeParameters;
  std::string superclass;
  std::vector<std::string> interfaces;
  // A signature of a superclass alone (javap reads no type parameters and no
  // interfaces then: it writes " extends" and the type).
  bool superclassOnly = false;
};

struct MethodSignature {
  std::vector<TypeParameter> typeParameters;
  std::vector<std::string> parameters;
  std::string result;
  std::vector<std::string> throws;
};

// Each false when signature does not parse.
bool ParseClassSignature(const std::string& signature, ClassSignature* out);
bool ParseMethodSignature(const std::string& signature, MethodSignature* out);
bool ParseFieldSignature(const std::string& signature, std::string* type);

// "<T extends java.lang.Comparable<T>, U>": the parameters as a declaration
// writes them (a bound of java.lang.Object left out), each bound named by
// typeName (dotted, unless another is given); "" for none.
std::string TypeParametersText(const std::vector<TypeParameter>& parameters,
                               std::string (*typeName)(const std::string&) = DottedName);
