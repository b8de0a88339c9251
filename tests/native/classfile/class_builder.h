// Class files put together byte by byte, for what javac never writes (jsr,
// ret, wide loads, an ldc of a dynamic constant) and for damaged ones: pool
// entries are added as asked for, in that order, and Bytes() lays out the
// class with its methods and attributes.
#pragma once

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

class ClassBuilder {
 public:
  using Bytes = std::vector<unsigned char>;

  explicit ClassBuilder(uint16_t major = 61) : major_(major) {}

  static void U2(Bytes* out, uint32_t v) {
    out->push_back(static_cast<unsigned char>(v >> 8));
    out->push_back(static_cast<unsigned char>(v));
  }
  static void U4(Bytes* out, uint32_t v) {
    U2(out, v >> 16);
    U2(out, v & 0xFFFF);
  }

  // Each gives the new entry's index. Utf8 takes modified UTF-8 as it is.
  uint16_t Utf8(const std::string& text) {
    Bytes e = {1};
    U2(&e, static_cast<uint32_t>(text.size()));
    e.insert(e.end(), text.begin(), text.end());
    return Add(e);
  }
  uint16_t Class(const std::string& name) { return Ref(7, Utf8(name)); }
  uint16_t String(const std::string& text) { return Ref(8, Utf8(text)); }
  uint16_t Integer(int32_t value) { return Bits(3, static_cast<uint32_t>(value)); }
  uint16_t Float(float value) {
    uint32_t bits;
    memcpy(&bits, &value, 4);
    return Bits(4, bits);
  }
  uint16_t Long(int64_t value) { return Wide(5, static_cast<uint64_t>(value)); }
  uint16_t Double(double value) {
    uint64_t bits;
    memcpy(&bits, &value, 8);
    return Wide(6, bits);
  }
  uint16_t NameAndType(const std::string& name, const std::string& type) {
    return Pair(12, Utf8(name), Utf8(type));
  }
  uint16_t Member(uint8_t tag, const std::string& owner, const std::string& name,
                  const std::string& type) {
    return Pair(tag, Class(owner), NameAndType(name, type));
  }
  uint16_t MethodHandle(uint8_t kind, uint16_t reference) {
    Bytes e = {15, kind};
    U2(&e, reference);
    return Add(e);
  }
  uint16_t MethodType(const std::string& descriptor) { return Ref(16, Utf8(descriptor)); }
  // A Module (19) or Package (20) entry.
  uint16_t Named(uint8_t tag, const std::string& name) { return Ref(tag, Utf8(name)); }
  uint16_t Dynamic(uint8_t tag, uint16_t bootstrap, const std::string& name,
                   const std::string& type) {
    return Pair(tag, bootstrap, NameAndType(name, type));
  }
  // Any entry's raw bytes, tag first.
  uint16_t Raw(const Bytes& entry) { return Add(entry); }

  void Field(uint16_t access, const std::string& name, const std::string& type) {
    Bytes m;
    U2(&m, access);
    U2(&m, Utf8(name));
    U2(&m, Utf8(type));
    U2(&m, 0);
    fields_.push_back(m);
  }

  // A method with a Code attribute (handlers as start, end, handler, type
  // quadruples) and any other attributes already laid out.
  void Method(uint16_t access, const std::string& name, const std::string& type, const Bytes& code,
              const std::vector<uint16_t>& handlers = {}, const std::vector<Bytes>& more = {}) {
    Bytes body;
    U2(&body, 8);  // max stack
    U2(&body, 8);  // max locals
    U4(&body, static_cast<uint32_t>(code.size()));
    body.insert(body.end(), code.begin(), code.end());
    U2(&body, static_cast<uint32_t>(handlers.size() / 4));
    for (uint16_t h : handlers) U2(&body, h);
    U2(&body, 0);
    std::vector<Bytes> attributes = more;
    attributes.insert(attributes.begin(), Attribute("Code", body));
    MethodWith(access, name, type, attributes);
  }
  void MethodWith(uint16_t access, const std::string& name, const std::string& type,
                  const std::vector<Bytes>& attributes) {
    Bytes m;
    U2(&m, access);
    U2(&m, Utf8(name));
    U2(&m, Utf8(type));
    Append(&m, attributes);
    methods_.push_back(m);
  }

  // An attribute: its name's entry, its length and body.
  Bytes Attribute(const std::string& name, const Bytes& body) {
    Bytes a;
    U2(&a, Utf8(name));
    U4(&a, static_cast<uint32_t>(body.size()));
    a.insert(a.end(), body.begin(), body.end());
    return a;
  }
  void ClassAttribute(const std::string& name, const Bytes& body) {
    attributes_.push_back(Attribute(name, body));
  }

  Bytes Build(const std::string& name, const std::string& super = "java/lang/Object",
              uint16_t access = 0x21) {
    uint16_t self = Class(name);
    uint16_t parent = super.empty() ? 0 : Class(super);
    Bytes out = {0xCA, 0xFE, 0xBA, 0xBE, 0, 0};
    U2(&out, major_);
    U2(&out, count_);
    out.insert(out.end(), pool_.begin(), pool_.end());
    U2(&out, access);
    U2(&out, self);
    U2(&out, parent);
    U2(&out, 0);  // interfaces
    Append(&out, fields_);
    Append(&out, methods_);
    Append(&out, attributes_);
    return out;
  }

 private:
  static void Append(Bytes* out, const std::vector<Bytes>& parts) {
    U2(out, static_cast<uint32_t>(parts.size()));
    for (const Bytes& p : parts) out->insert(out->end(), p.begin(), p.end());
  }
  uint16_t Add(const Bytes& entry) {
    pool_.insert(pool_.end(), entry.begin(), entry.end());
    uint16_t index = count_;
    count_ += entry[0] == 5 || entry[0] == 6 ? 2 : 1;
    return index;
  }
  uint16_t Ref(uint8_t tag, uint16_t index) {
    Bytes e = {tag};
    U2(&e, index);
    return Add(e);
  }
  uint16_t Pair(uint8_t tag, uint16_t first, uint16_t second) {
    Bytes e = {tag};
    U2(&e, first);
    U2(&e, second);
    return Add(e);
  }
  uint16_t Bits(uint8_t tag, uint32_t bits) {
    Bytes e = {tag};
    U4(&e, bits);
    return Add(e);
  }
  uint16_t Wide(uint8_t tag, uint64_t bits) {
    Bytes e = {tag};
    U4(&e, static_cast<uint32_t>(bits >> 32));
    U4(&e, static_cast<uint32_t>(bits));
    return Add(e);
  }

  uint16_t major_;
  uint16_t count_ = 1;
  Bytes pool_;
  std::vector<Bytes> fields_, methods_, attributes_;
};

// A class of what javac does not write, for the reader and for the comparison
// with javap: every opcode without operands, jsr and ret, the wide forms,
// switches with negative keys, and ldc of every loadable kind of constant (a
// dynamic one, method handles and types, strings javap escapes).
inline ClassBuilder::Bytes RareInstructionsClass() {
  ClassBuilder c;
  ClassBuilder::Bytes plain;
  const int ranges[][2] = {{0x00, 0x0f}, {0x1a, 0x35}, {0x3b, 0x83}, {0x85, 0x98},
                           {0xac, 0xb1}, {0xbe, 0xbf}, {0xc2, 0xc3}};
  for (const auto& r : ranges) {
    for (int op = r[0]; op <= r[1]; ++op) plain.push_back(static_cast<unsigned char>(op));
  }
  c.Method(0x09, "plain", "()V", plain);

  ClassBuilder::Bytes jumps = {
      0xa8, 0x00, 0x2a,                                // 0: jsr 42
      0xa9, 0x07,                                      // 3: ret 7
      0xc4, 0xa9, 0x01, 0x2c,                          // 5: ret_w 300
      0xc4, 0x15, 0x01, 0x2c,                          // 9: iload_w 300
      0xc4, 0x16, 0x01, 0x2d,                          // 13: lload_w
      0xc4, 0x17, 0x01, 0x2e,                          // 17: fload_w
      0xc4, 0x18, 0xff, 0xff,                          // 21: dload_w 65535
      0xc4, 0x3a, 0x01, 0x00,                          // 25: astore_w 256
      0xc4, 0x84, 0x01, 0x2c, 0xff, 0xfe,              // 29: iinc_w 300, -2
      0x84, 0x05, 0xff,                                // 35: iinc 5, -1
      0x10, 0x80,                                      // 38: bipush -128
      0x11, 0x80, 0x00,                                // 40: sipush -32768
      0xc8, 0xff, 0xff, 0xff, 0xd5,                    // 43: goto_w 0
      0xc9, 0x00, 0x00, 0x00, 0x05,                    // 48: jsr_w 53
      0xbc, 0x04, 0xbc, 0x05, 0xbc, 0x06, 0xbc, 0x07,  // 53: newarray boolean .. double
      0xbc, 0x08, 0xbc, 0x09, 0xbc, 0x0a, 0xbc, 0x0b,  // 61: newarray byte .. long
      0xc6, 0xff, 0xf8,                                // 69: ifnull 61
      0xab, 0x00, 0x00, 0x00,                          // 72: lookupswitch, padded to 76
      0x00, 0x00, 0x00, 0x10,                          // default 88
      0x00, 0x00, 0x00, 0x02,                          // two pairs
      0xff, 0xff, 0xff, 0xfb, 0x00, 0x00, 0x00, 0x00,  // -5: 72
      0x7f, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xb8,  // 2147483647: 0
      0xaa, 0x00, 0x00, 0x00,                          // 100: tableswitch, padded to 104
      0x00, 0x00, 0x00, 0x03,                          // default 103
      0x80, 0x00, 0x00, 0x00,                          // low -2147483648
      0x80, 0x00, 0x00, 0x01,                          // high -2147483647
      0xff, 0xff, 0xff, 0x9f, 0x00, 0x00, 0x00, 0x00,  // 3, 100
      0xb1};                                           // 124: return
  c.Method(0x09, "jumps", "()V", jumps, {0, 43, 53, 0, 3, 9, 53, c.Class("java/lang/Error")});

  uint16_t handle =
      c.MethodHandle(6, c.Member(10, "java/lang/invoke/ConstantBootstraps", "nullConstant",
                                 "(Ljava/lang/invoke/MethodHandles$Lookup;Ljava/lang/String;Ljava/"
                                 "lang/Class;)Ljava/lang/Object;"));
  uint16_t condy = c.Dynamic(17, 0, "nothing", "Ljava/lang/Object;");
  uint16_t indy = c.Dynamic(18, 1, "run", "()Ljava/lang/Runnable;");
  uint16_t entries[] = {
      c.Integer(-2147483647 - 1),
      c.Float(0.0f / 0.0f),
      c.String("tab\tquote\"apostrophe'backslash\\ \x01\xC2\x85 nul\xC0\x80 "
               "lone\xED\xA0\x80 pair\xED\xA0\xBD\xED\xB8\x80 end "),
      c.Class("[[Ljava/lang/String;"),
      c.Class("odd name/with space"),
      c.MethodType("(IJ)V"),
      handle,
      c.MethodHandle(1, c.Member(9, "RareInstructions", "field", "I")),
      c.MethodHandle(9, c.Member(11, "java/util/List", "size", "()I")),
      condy,
  };
  ClassBuilder::Bytes loads;
  for (uint16_t e : entries) {
    loads.insert(loads.end(),
                 {0x13, static_cast<unsigned char>(e >> 8), static_cast<unsigned char>(e)});
  }
  uint16_t wideEntries[] = {c.Long(-9223372036854775807LL - 1), c.Double(-0.0), c.Double(4.9e-324),
                            c.Double(1e7), c.Double(0.001)};
  for (uint16_t e : wideEntries) {
    loads.insert(loads.end(),
                 {0x14, static_cast<unsigned char>(e >> 8), static_cast<unsigned char>(e)});
  }
  uint16_t own = c.Member(9, "RareInstructions", "field", "I");
  uint16_t other = c.Member(10, "java/lang/Object", "<init>", "()V");
  uint16_t interface = c.Member(11, "java/util/List", "get", "(I)Ljava/lang/Object;");
  uint16_t array = c.Class("[[[I");
  ClassBuilder::Bytes more = {0xb4,
                              static_cast<unsigned char>(own >> 8),
                              static_cast<unsigned char>(own),
                              0xb7,
                              static_cast<unsigned char>(other >> 8),
                              static_cast<unsigned char>(other),
                              0xb9,
                              static_cast<unsigned char>(interface >> 8),
                              static_cast<unsigned char>(interface),
                              2,
                              0,
                              0xba,
                              static_cast<unsigned char>(indy >> 8),
                              static_cast<unsigned char>(indy),
                              0,
                              0,
                              0xc5,
                              static_cast<unsigned char>(array >> 8),
                              static_cast<unsigned char>(array),
                              3,
                              0xb0};
  loads.insert(loads.end(), more.begin(), more.end());
  c.Method(0x01, "loads", "()Ljava/lang/Object;", loads);

  ClassBuilder::Bytes bootstrap;
  ClassBuilder::U2(&bootstrap, 2);
  ClassBuilder::U2(&bootstrap, handle);
  ClassBuilder::U2(&bootstrap, 0);
  ClassBuilder::U2(&bootstrap, handle);
  ClassBuilder::U2(&bootstrap, 2);
  ClassBuilder::U2(&bootstrap, c.String("an argument"));
  ClassBuilder::U2(&bootstrap, condy);
  c.ClassAttribute("BootstrapMethods", bootstrap);
  c.Field(0x0A, "field", "I");
  return c.Build("RareInstructions");
}

// A module descriptor with every directive, its names in Module and Package
// entries.
inline ClassBuilder::Bytes ModuleDescriptorClass() {
  ClassBuilder c(53);
  auto u2 = [](ClassBuilder::Bytes* b, uint32_t v) { ClassBuilder::U2(b, v); };
  ClassBuilder::Bytes body;
  u2(&body, c.Named(19, "demo.mod"));
  u2(&body, 0x0020);  // open
  u2(&body, c.Utf8("1.0"));
  u2(&body, 2);  // requires
  u2(&body, c.Named(19, "java.base"));
  u2(&body, 0x8000);
  u2(&body, 0);
  u2(&body, c.Named(19, "java.sql"));
  u2(&body, 0x0060);  // transitive, static
  u2(&body, c.Utf8("17"));
  uint16_t logging = c.Named(19, "java.logging");
  for (int directive = 0; directive < 2; ++directive) {  // exports, opens
    u2(&body, 1);
    u2(&body, c.Named(20, "demo/a"));
    u2(&body, 0);
    u2(&body, 1);
    u2(&body, logging);
  }
  u2(&body, 1);  // uses
  u2(&body, c.Class("demo/a/Service"));
  u2(&body, 1);  // provides
  u2(&body, c.Class("demo/a/Service"));
  u2(&body, 2);
  u2(&body, c.Class("demo/b/One"));
  u2(&body, c.Class("demo/b/Two"));
  c.ClassAttribute("Module", body);
  return c.Build("module-info", "", 0x8000);
}
