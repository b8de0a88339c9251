#include "classfile/instructions.h"

namespace {

const OpcodeInfo kOpcodes[] = {
    {"nop", Operands::kNone},                       // 0x00
    {"aconst_null", Operands::kNone},               // 0x01
    {"iconst_m1", Operands::kNone},                 // 0x02
    {"iconst_0", Operands::kNone},                  // 0x03
    {"iconst_1", Operands::kNone},                  // 0x04
    {"iconst_2", Operands::kNone},                  // 0x05
    {"iconst_3", Operands::kNone},                  // 0x06
    {"iconst_4", Operands::kNone},                  // 0x07
    {"iconst_5", Operands::kNone},                  // 0x08
    {"lconst_0", Operands::kNone},                  // 0x09
    {"lconst_1", Operands::kNone},                  // 0x0a
    {"fconst_0", Operands::kNone},                  // 0x0b
    {"fconst_1", Operands::kNone},                  // 0x0c
    {"fconst_2", Operands::kNone},                  // 0x0d
    {"dconst_0", Operands::kNone},                  // 0x0e
    {"dconst_1", Operands::kNone},                  // 0x0f
    {"bipush", Operands::kByte},                    // 0x10
    {"sipush", Operands::kShort},                   // 0x11
    {"ldc", Operands::kPoolByte},                   // 0x12
    {"ldc_w", Operands::kPool},                     // 0x13
    {"ldc2_w", Operands::kPool},                    // 0x14
    {"iload", Operands::kLocal},                    // 0x15
    {"lload", Operands::kLocal},                    // 0x16
    {"fload", Operands::kLocal},                    // 0x17
    {"dload", Operands::kLocal},                    // 0x18
    {"aload", Operands::kLocal},                    // 0x19
    {"iload_0", Operands::kNone},                   // 0x1a
    {"iload_1", Operands::kNone},                   // 0x1b
    {"iload_2", Operands::kNone},                   // 0x1c
    {"iload_3", Operands::kNone},                   // 0x1d
    {"lload_0", Operands::kNone},                   // 0x1e
    {"lload_1", Operands::kNone},                   // 0x1f
    {"lload_2", Operands::kNone},                   // 0x20
    {"lload_3", Operands::kNone},                   // 0x21
    {"fload_0", Operands::kNone},                   // 0x22
    {"fload_1", Operands::kNone},                   // 0x23
    {"fload_2", Operands::kNone},                   // 0x24
    {"fload_3", Operands::kNone},                   // 0x25
    {"dload_0", Operands::kNone},                   // 0x26
    {"dload_1", Operands::kNone},                   // 0x27
    {"dload_2", Operands::kNone},                   // 0x28
    {"dload_3", Operands::kNone},                   // 0x29
    {"aload_0", Operands::kNone},                   // 0x2a
    {"aload_1", Operands::kNone},                   // 0x2b
    {"aload_2", Operands::kNone},                   // 0x2c
    {"aload_3", Operands::kNone},                   // 0x2d
    {"iaload", Operands::kNone},                    // 0x2e
    {"laload", Operands::kNone},                    // 0x2f
    {"faload", Operands::kNone},                    // 0x30
    {"daload", Operands::kNone},                    // 0x31
    {"aaload", Operands::kNone},                    // 0x32
    {"baload", Operands::kNone},                    // 0x33
    {"caload", Operands::kNone},                    // 0x34
    {"saload", Operands::kNone},                    // 0x35
    {"istore", Operands::kLocal},                   // 0x36
    {"lstore", Operands::kLocal},                   // 0x37
    {"fstore", Operands::kLocal},                   // 0x38
    {"dstore", Operands::kLocal},                   // 0x39
    {"astore", Operands::kLocal},                   // 0x3a
    {"istore_0", Operands::kNone},                  // 0x3b
    {"istore_1", Operands::kNone},                  // 0x3c
    {"istore_2", Operands::kNone},                  // 0x3d
    {"istore_3", Operands::kNone},                  // 0x3e
    {"lstore_0", Operands::kNone},                  // 0x3f
    {"lstore_1", Operands::kNone},                  // 0x40
    {"lstore_2", Operands::kNone},                  // 0x41
    {"lstore_3", Operands::kNone},                  // 0x42
    {"fstore_0", Operands::kNone},                  // 0x43
    {"fstore_1", Operands::kNone},                  // 0x44
    {"fstore_2", Operands::kNone},                  // 0x45
    {"fstore_3", Operands::kNone},                  // 0x46
    {"dstore_0", Operands::kNone},                  // 0x47
    {"dstore_1", Operands::kNone},                  // 0x48
    {"dstore_2", Operands::kNone},                  // 0x49
    {"dstore_3", Operands::kNone},                  // 0x4a
    {"astore_0", Operands::kNone},                  // 0x4b
    {"astore_1", Operands::kNone},                  // 0x4c
    {"astore_2", Operands::kNone},                  // 0x4d
    {"astore_3", Operands::kNone},                  // 0x4e
    {"iastore", Operands::kNone},                   // 0x4f
    {"lastore", Operands::kNone},                   // 0x50
    {"fastore", Operands::kNone},                   // 0x51
    {"dastore", Operands::kNone},                   // 0x52
    {"aastore", Operands::kNone},                   // 0x53
    {"bastore", Operands::kNone},                   // 0x54
    {"castore", Operands::kNone},                   // 0x55
    {"sastore", Operands::kNone},                   // 0x56
    {"pop", Operands::kNone},                       // 0x57
    {"pop2", Operands::kNone},                      // 0x58
    {"dup", Operands::kNone},                       // 0x59
    {"dup_x1", Operands::kNone},                    // 0x5a
    {"dup_x2", Operands::kNone},                    // 0x5b
    {"dup2", Operands::kNone},                      // 0x5c
    {"dup2_x1", Operands::kNone},                   // 0x5d
    {"dup2_x2", Operands::kNone},                   // 0x5e
    {"swap", Operands::kNone},                      // 0x5f
    {"iadd", Operands::kNone},                      // 0x60
    {"ladd", Operands::kNone},                      // 0x61
    {"fadd", Operands::kNone},                      // 0x62
    {"dadd", Operands::kNone},                      // 0x63
    {"isub", Operands::kNone},                      // 0x64
    {"lsub", Operands::kNone},                      // 0x65
    {"fsub", Operands::kNone},                      // 0x66
    {"dsub", Operands::kNone},                      // 0x67
    {"imul", Operands::kNone},                      // 0x68
    {"lmul", Operands::kNone},                      // 0x69
    {"fmul", Operands::kNone},                      // 0x6a
    {"dmul", Operands::kNone},                      // 0x6b
    {"idiv", Operands::kNone},                      // 0x6c
    {"ldiv", Operands::kNone},                      // 0x6d
    {"fdiv", Operands::kNone},                      // 0x6e
    {"ddiv", Operands::kNone},                      // 0x6f
    {"irem", Operands::kNone},                      // 0x70
    {"lrem", Operands::kNone},                      // 0x71
    {"frem", Operands::kNone},                      // 0x72
    {"drem", Operands::kNone},                      // 0x73
    {"ineg", Operands::kNone},                      // 0x74
    {"lneg", Operands::kNone},                      // 0x75
    {"fneg", Operands::kNone},                      // 0x76
    {"dneg", Operands::kNone},                      // 0x77
    {"ishl", Operands::kNone},                      // 0x78
    {"lshl", Operands::kNone},                      // 0x79
    {"ishr", Operands::kNone},                      // 0x7a
    {"lshr", Operands::kNone},                      // 0x7b
    {"iushr", Operands::kNone},                     // 0x7c
    {"lushr", Operands::kNone},                     // 0x7d
    {"iand", Operands::kNone},                      // 0x7e
    {"land", Operands::kNone},                      // 0x7f
    {"ior", Operands::kNone},                       // 0x80
    {"lor", Operands::kNone},                       // 0x81
    {"ixor", Operands::kNone},                      // 0x82
    {"lxor", Operands::kNone},                      // 0x83
    {"iinc", Operands::kLocalByte},                 // 0x84
    {"i2l", Operands::kNone},                       // 0x85
    {"i2f", Operands::kNone},                       // 0x86
    {"i2d", Operands::kNone},                       // 0x87
    {"l2i", Operands::kNone},                       // 0x88
    {"l2f", Operands::kNone},                       // 0x89
    {"l2d", Operands::kNone},                       // 0x8a
    {"f2i", Operands::kNone},                       // 0x8b
    {"f2l", Operands::kNone},                       // 0x8c
    {"f2d", Operands::kNone},                       // 0x8d
    {"d2i", Operands::kNone},                       // 0x8e
    {"d2l", Operands::kNone},                       // 0x8f
    {"d2f", Operands::kNone},                       // 0x90
    {"i2b", Operands::kNone},                       // 0x91
    {"i2c", Operands::kNone},                       // 0x92
    {"i2s", Operands::kNone},                       // 0x93
    {"lcmp", Operands::kNone},                      // 0x94
    {"fcmpl", Operands::kNone},                     // 0x95
    {"fcmpg", Operands::kNone},                     // 0x96
    {"dcmpl", Operands::kNone},                     // 0x97
    {"dcmpg", Operands::kNone},                     // 0x98
    {"ifeq", Operands::kBranch},                    // 0x99
    {"ifne", Operands::kBranch},                    // 0x9a
    {"iflt", Operands::kBranch},                    // 0x9b
    {"ifge", Operands::kBranch},                    // 0x9c
    {"ifgt", Operands::kBranch},                    // 0x9d
    {"ifle", Operands::kBranch},                    // 0x9e
    {"if_icmpeq", Operands::kBranch},               // 0x9f
    {"if_icmpne", Operands::kBranch},               // 0xa0
    {"if_icmplt", Operands::kBranch},               // 0xa1
    {"if_icmpge", Operands::kBranch},               // 0xa2
    {"if_icmpgt", Operands::kBranch},               // 0xa3
    {"if_icmple", Operands::kBranch},               // 0xa4
    {"if_acmpeq", Operands::kBranch},               // 0xa5
    {"if_acmpne", Operands::kBranch},               // 0xa6
    {"goto", Operands::kBranch},                    // 0xa7
    {"jsr", Operands::kBranch},                     // 0xa8
    {"ret", Operands::kLocal},                      // 0xa9
    {"tableswitch", Operands::kTableSwitch},        // 0xaa
    {"lookupswitch", Operands::kLookupSwitch},      // 0xab
    {"ireturn", Operands::kNone},                   // 0xac
    {"lreturn", Operands::kNone},                   // 0xad
    {"freturn", Operands::kNone},                   // 0xae
    {"dreturn", Operands::kNone},                   // 0xaf
    {"areturn", Operands::kNone},                   // 0xb0
    {"return", Operands::kNone},                    // 0xb1
    {"getstatic", Operands::kPool},                 // 0xb2
    {"putstatic", Operands::kPool},                 // 0xb3
    {"getfield", Operands::kPool},                  // 0xb4
    {"putfield", Operands::kPool},                  // 0xb5
    {"invokevirtual", Operands::kPool},             // 0xb6
    {"invokespecial", Operands::kPool},             // 0xb7
    {"invokestatic", Operands::kPool},              // 0xb8
    {"invokeinterface", Operands::kPoolCount},      // 0xb9
    {"invokedynamic", Operands::kPoolZero},         // 0xba
    {"new", Operands::kPool},                       // 0xbb
    {"newarray", Operands::kArrayType},             // 0xbc
    {"anewarray", Operands::kPool},                 // 0xbd
    {"arraylength", Operands::kNone},               // 0xbe
    {"athrow", Operands::kNone},                    // 0xbf
    {"checkcast", Operands::kPool},                 // 0xc0
    {"instanceof", Operands::kPool},                // 0xc1
    {"monitorenter", Operands::kNone},              // 0xc2
    {"monitorexit", Operands::kNone},               // 0xc3
    {"wide", Operands::kWide},                      // 0xc4
    {"multianewarray", Operands::kPoolDimensions},  // 0xc5
    {"ifnull", Operands::kBranch},                  // 0xc6
    {"ifnonnull", Operands::kBranch},               // 0xc7
    {"goto_w", Operands::kBranchWide},              // 0xc8
    {"jsr_w", Operands::kBranchWide},               // 0xc9
};

const OpcodeInfo kUnknownOpcode = {nullptr, Operands::kUnknown};

int32_t S4At(const unsigned char* code, size_t at) {
  return static_cast<int32_t>((static_cast<uint32_t>(code[at]) << 24) |
                              (static_cast<uint32_t>(code[at + 1]) << 16) |
                              (static_cast<uint32_t>(code[at + 2]) << 8) | code[at + 3]);
}

uint32_t U2At(const unsigned char* code, size_t at) { return (code[at] << 8) | code[at + 1]; }

// The bytes each kind of operands takes after the opcode; 0 for the
// switches and wide, whose length the decoder works out.
uint32_t OperandBytes(Operands operands) {
  switch (operands) {
    case Operands::kByte:
    case Operands::kPoolByte:
    case Operands::kLocal:
    case Operands::kArrayType:
      return 1;
    case Operands::kShort:
    case Operands::kPool:
    case Operands::kLocalByte:
    case Operands::kBranch:
      return 2;
    case Operands::kPoolDimensions:
      return 3;
    case Operands::kPoolCount:
    case Operands::kPoolZero:
    case Operands::kBranchWide:
      return 4;
    default:
      return 0;
  }
}

std::string At(uint32_t offset) { return " at offset " + std::to_string(offset); }

bool DecodeSwitch(const unsigned char* code, size_t length, Instruction* out, std::string* error) {
  // The operands start at the next multiple of four from the method's start.
  uint64_t table = (static_cast<uint64_t>(out->offset) + 4) & ~uint64_t{3};
  uint64_t header = out->opcode == 0xaa ? 12 : 8;
  if (table + header > length) {
    *error = "The code is cut short in the switch" + At(out->offset) + ".";
    return false;
  }
  out->defaultTarget = static_cast<int32_t>(out->offset + static_cast<int64_t>(S4At(code, table)));
  uint64_t entries;
  if (out->opcode == 0xaa) {
    out->low = S4At(code, table + 4);
    out->high = S4At(code, table + 8);
    if (out->low > out->high) {
      *error = "The tableswitch runs from " + std::to_string(out->low) + " down to " +
               std::to_string(out->high) + At(out->offset) + ".";
      return false;
    }
    entries = (static_cast<int64_t>(out->high) - out->low + 1) * 4;
  } else {
    int32_t pairs = S4At(code, table + 4);
    if (pairs < 0) {
      *error = "The lookupswitch has a negative number of pairs" + At(out->offset) + ".";
      return false;
    }
    out->pairs = static_cast<uint32_t>(pairs);
    entries = static_cast<uint64_t>(pairs) * 8;
  }
  out->tableAt = static_cast<uint32_t>(table + header);
  if (out->tableAt + entries > length) {
    *error = "The code is cut short in the switch" + At(out->offset) + ".";
    return false;
  }
  out->length = static_cast<uint32_t>(out->tableAt + entries - out->offset);
  return true;
}

bool DecodeWide(const unsigned char* code, size_t length, Instruction* out, std::string* error) {
  if (out->offset + 2 > length) {
    *error = "The code is cut short in the wide instruction" + At(out->offset) + ".";
    return false;
  }
  out->opcode = code[out->offset + 1];
  out->wide = true;
  Operands operands = OpcodeOf(out->opcode).operands;
  if (operands != Operands::kLocal && operands != Operands::kLocalByte) {
    *error = "The wide instruction widens opcode " + std::to_string(out->opcode) +
             ", which has no wide form," + At(out->offset) + ".";
    return false;
  }
  out->length = operands == Operands::kLocal ? 4 : 6;
  if (out->offset + out->length > length) {
    *error = "The code is cut short in the wide instruction" + At(out->offset) + ".";
    return false;
  }
  out->index = U2At(code, out->offset + 2);
  if (operands == Operands::kLocalByte) {
    out->value = static_cast<int16_t>(U2At(code, out->offset + 4));
  }
  return true;
}

}  // namespace

const OpcodeInfo& OpcodeOf(uint8_t opcode) {
  return opcode < sizeof kOpcodes / sizeof kOpcodes[0] ? kOpcodes[opcode] : kUnknownOpcode;
}

bool DecodeInstruction(const unsigned char* code, size_t length, uint32_t offset, Instruction* out,
                       std::string* error) {
  *out = Instruction();
  out->offset = offset;
  out->opcode = code[offset];
  Operands operands = OpcodeOf(out->opcode).operands;
  if (operands == Operands::kUnknown) {
    *error =
        "The code holds an unknown opcode (" + std::to_string(out->opcode) + ")" + At(offset) + ".";
    return false;
  }
  if (operands == Operands::kTableSwitch || operands == Operands::kLookupSwitch) {
    return DecodeSwitch(code, length, out, error);
  }
  if (operands == Operands::kWide) return DecodeWide(code, length, out, error);
  out->length = 1 + OperandBytes(operands);
  if (offset + out->length > length) {
    *error = "The code is cut short in the instruction" + At(offset) + ".";
    return false;
  }
  const unsigned char* p = code + offset + 1;
  switch (operands) {
    case Operands::kByte:
      out->value = static_cast<int8_t>(p[0]);
      break;
    case Operands::kShort:
      out->value = static_cast<int16_t>(U2At(p, 0));
      break;
    case Operands::kPoolByte:
    case Operands::kLocal:
      out->index = p[0];
      break;
    case Operands::kArrayType:
      out->value = p[0];
      if (ArrayTypeName(out->value) == nullptr) {
        *error = "The newarray names an unknown type (" + std::to_string(out->value) + ")" +
                 At(offset) + ".";
        return false;
      }
      break;
    case Operands::kPool:
      out->index = U2At(p, 0);
      break;
    case Operands::kPoolCount:
    case Operands::kPoolZero:
    case Operands::kPoolDimensions:
      out->index = U2At(p, 0);
      out->value = p[2];
      break;
    case Operands::kLocalByte:
      out->index = p[0];
      out->value = static_cast<int8_t>(p[1]);
      break;
    case Operands::kBranch:
      out->value = static_cast<int32_t>(offset + static_cast<int64_t>(int16_t(U2At(p, 0))));
      break;
    case Operands::kBranchWide:
      out->value = static_cast<int32_t>(offset + static_cast<int64_t>(S4At(p, 0)));
      break;
    default:
      break;
  }
  return true;
}

uint32_t SwitchCases(const Instruction& instruction) {
  if (instruction.opcode == 0xab) return instruction.pairs;
  return static_cast<uint32_t>(static_cast<int64_t>(instruction.high) - instruction.low + 1);
}

int32_t SwitchMatch(const unsigned char* code, const Instruction& instruction, uint32_t i) {
  if (instruction.opcode == 0xab) return S4At(code, instruction.tableAt + 8 * size_t{i});
  return static_cast<int32_t>(instruction.low + static_cast<int64_t>(i));
}

int32_t SwitchTarget(const unsigned char* code, const Instruction& instruction, uint32_t i) {
  size_t at =
      instruction.tableAt + (instruction.opcode == 0xab ? 8 * size_t{i} + 4 : 4 * size_t{i});
  return static_cast<int32_t>(instruction.offset + static_cast<int64_t>(S4At(code, at)));
}

const char* ArrayTypeName(int32_t code) {
  static const char* const kNames[] = {"boolean", "char",  "float", "double",
                                       "byte",    "short", "int",   "long"};
  return code >= 4 && code <= 11 ? kNames[code - 4] : nullptr;
}
