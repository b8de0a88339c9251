// The JVM's instruction set: each opcode's mnemonic and operands, and one
// instruction decoded from a method's code with every read inside it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

enum class Operands : uint8_t {
  kNone,
  kByte,            // bipush: a signed byte
  kShort,           // sipush: a signed short
  kPoolByte,        // ldc: a one-byte pool index
  kPool,            // a two-byte pool index
  kPoolCount,       // invokeinterface: index, count, a zero byte
  kPoolZero,        // invokedynamic: index, two zero bytes
  kPoolDimensions,  // multianewarray: index, dimensions
  kLocal,           // a one-byte local slot
  kLocalByte,       // iinc: slot, signed byte
  kBranch,          // a signed two-byte offset
  kBranchWide,      // a signed four-byte offset
  kArrayType,       // newarray: the element type's code
  kTableSwitch,
  kLookupSwitch,
  kWide,  // the prefix of a wide form
  kUnknown,
};

struct OpcodeInfo {
  const char* mnemonic;  // nullptr for an opcode the JVM does not define
  Operands operands;
};

const OpcodeInfo& OpcodeOf(uint8_t opcode);

// One decoded instruction. For a wide form, opcode is the modified opcode and
// wide is set (javap's mnemonic adds "_w").
struct Instruction {
  uint32_t offset = 0;
  uint32_t length = 0;
  uint8_t opcode = 0;
  bool wide = false;
  uint32_t index = 0;  // the pool index or the local slot
  int32_t value = 0;   // the immediate, the iinc step, the count or dimensions,
                       // the newarray type, or the branch target (absolute)
  // Switches: the default target (absolute), the range or the pair count,
  // and where in the code the jump table or the pairs begin.
  int32_t defaultTarget = 0;
  int32_t low = 0;
  int32_t high = 0;
  uint32_t pairs = 0;
  uint32_t tableAt = 0;
};

// Decodes the instruction at offset of code; false with a sentence in *error
// (an unknown opcode, a cut instruction, a switch whose range is reversed).
bool DecodeInstruction(const unsigned char* code, size_t length, uint32_t offset, Instruction* out,
                       std::string* error);

// The i-th case of a decoded switch: its match (low + i for a tableswitch)
// and its absolute target.
int32_t SwitchMatch(const unsigned char* code, const Instruction& instruction, uint32_t i);
int32_t SwitchTarget(const unsigned char* code, const Instruction& instruction, uint32_t i);
// The number of cases.
uint32_t SwitchCases(const Instruction& instruction);

// The element type newarray's code names ("int"), nullptr for an unknown code.
const char* ArrayTypeName(int32_t code);
