package dravik.service.cfr;

import dravik.service.engine.JadNamesFromTypes;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Map;

/**
 * Names for CFR's parameters where the class gives none, as Vineflower's (JadNamesFromTypes): CFR
 * has no interface for names, and reads no MethodParameters attribute, but names a parameter as the
 * local variable table does. So the class file CFR is given has, in a method with code and without
 * a table, a table of its parameters: Jad-style names from their types, none a field's, and the
 * components' names for a record's canonical constructor (which otherwise does not compile). Left
 * alone: methods javac made (a lambda's captured values take the captured variables' names), an
 * enum's and a nested class's constructors (whose first parameters javac added), and any class file
 * this cannot read, which CFR gets as it is.
 */
final class CfrParameterNames {
  private static final String TABLE = "LocalVariableTable";
  private static final int SYNTHETIC = 0x1000;
  private static final int STATIC = 0x0008;
  private static final int ENUM = 0x4000;

  private CfrParameterNames() {}

  static byte[] named(byte[] classFile) {
    try {
      return new Rewrite(classFile).named();
    } catch (IOException | RuntimeException e) {
      return classFile;
    }
  }

  private static final class Rewrite {
    private final byte[] original;
    private final DataInputStream in;
    private final Map<Integer, String> utf8 = new HashMap<>();
    private final Map<Integer, Integer> classNames = new HashMap<>();
    private final List<String> added = new ArrayList<>();
    private int poolCount;

    Rewrite(byte[] classFile) {
      original = classFile;
      in = new DataInputStream(new ByteArrayInputStream(classFile));
    }

    byte[] named() throws IOException {
      in.readInt();
      in.readInt();
      poolCount = in.readUnsignedShort();
      for (int i = 1; i < poolCount; i++) {
        int tag = in.readUnsignedByte();
        if (tag == 1) {
          utf8.put(i, in.readUTF());
        } else if (tag == 7) {
          classNames.put(i, in.readUnsignedShort());
        } else if (tag == 5 || tag == 6) {
          in.readLong();
          i++;
        } else {
          in.skipBytes(tag == 15 ? 3 : tag == 8 || tag == 16 || tag == 19 || tag == 20 ? 2 : 4);
        }
      }
      int poolEnd = original.length - in.available();
      int access = in.readUnsignedShort();
      String name = utf8.get(classNames.get(in.readUnsignedShort()));
      in.readUnsignedShort();
      in.skipBytes(2 * in.readUnsignedShort());
      List<String> fields = new ArrayList<>();
      int fieldCount = in.readUnsignedShort();
      for (int i = 0; i < fieldCount; i++) {
        in.readUnsignedShort();
        fields.add(utf8.get(in.readUnsignedShort()));
        in.readUnsignedShort();
        skipAttributes();
      }
      int methodsStart = original.length - in.available();
      int methodCount = in.readUnsignedShort();
      List<int[]> methods = new ArrayList<>(); // access, name, descriptor, start, end
      for (int i = 0; i < methodCount; i++) {
        int start = original.length - in.available();
        int[] method = {in.readUnsignedShort(), in.readUnsignedShort(), in.readUnsignedShort(),
            start, 0};
        skipAttributes();
        method[4] = original.length - in.available();
        methods.add(method);
      }
      int methodsEnd = original.length - in.available();
      List<String> components = recordComponents();

      ByteArrayOutputStream rewritten = new ByteArrayOutputStream(original.length + 1024);
      DataOutputStream out = new DataOutputStream(rewritten);
      out.writeShort(methodCount);
      boolean changed = false;
      for (int[] method : methods) {
        String methodName = utf8.get(method[1]);
        String descriptor = utf8.get(method[2]);
        boolean constructor = methodName.equals("<init>");
        boolean left = (method[0] & SYNTHETIC) != 0
            || (constructor && components == null
                && ((access & ENUM) != 0 || name.indexOf('$') >= 0));
        byte[] bytes = Arrays.copyOfRange(original, method[3], method[4]);
        byte[] withTable = left ? null
            : withTable(bytes, (method[0] & STATIC) != 0, descriptor,
                constructor && components != null
                        && descriptor.equals(canonical(components))
                    ? components
                    : null,
                fields);
        changed |= withTable != null;
        out.write(withTable != null ? withTable : bytes);
      }
      if (!changed || poolCount + added.size() > 0xFFFF) {
        return original;
      }
      ByteArrayOutputStream whole = new ByteArrayOutputStream(original.length + 1024);
      DataOutputStream file = new DataOutputStream(whole);
      file.write(original, 0, 8);
      file.writeShort(poolCount + added.size());
      file.write(original, 10, poolEnd - 10);
      for (String text : added) {
        file.writeByte(1);
        file.writeUTF(text);
      }
      file.write(original, poolEnd, methodsStart - poolEnd);
      file.write(rewritten.toByteArray());
      file.write(original, methodsEnd, original.length - methodsEnd);
      return whole.toByteArray();
    }

    private void skipAttributes() throws IOException {
      int count = in.readUnsignedShort();
      for (int i = 0; i < count; i++) {
        in.readUnsignedShort();
        in.skipBytes(in.readInt());
      }
    }

    // The Record attribute's components' names, after the methods; null for another class.
    private List<String> recordComponents() throws IOException {
      int count = in.readUnsignedShort();
      for (int i = 0; i < count; i++) {
        String attribute = utf8.get(in.readUnsignedShort());
        int length = in.readInt();
        if (!"Record".equals(attribute)) {
          in.skipBytes(length);
          continue;
        }
        List<String> components = new ArrayList<>();
        int componentCount = in.readUnsignedShort();
        for (int c = 0; c < componentCount; c++) {
          components.add(utf8.get(in.readUnsignedShort()));
          components.add(utf8.get(in.readUnsignedShort()));
          skipAttributes();
        }
        return components;
      }
      return null;
    }

    private static String canonical(List<String> components) {
      StringBuilder descriptor = new StringBuilder("(");
      for (int i = 1; i < components.size(); i += 2) {
        descriptor.append(components.get(i));
      }
      return descriptor.append(")V").toString();
    }

    // The method with a table of its parameters in its code; null where it has no code, has a
    // table already, or has no parameters.
    private byte[] withTable(byte[] method, boolean isStatic, String descriptor,
        List<String> components, List<String> fields) throws IOException {
      List<String> types = parameterTypes(descriptor);
      if (types.isEmpty()) {
        return null;
      }
      DataInputStream reader = new DataInputStream(new ByteArrayInputStream(method));
      ByteArrayOutputStream bytes = new ByteArrayOutputStream(method.length + 64);
      DataOutputStream out = new DataOutputStream(bytes);
      out.write(method, 0, 6);
      reader.skipBytes(6);
      int count = reader.readUnsignedShort();
      out.writeShort(count);
      boolean written = false;
      for (int i = 0; i < count; i++) {
        int attributeName = reader.readUnsignedShort();
        byte[] attribute = new byte[reader.readInt()];
        reader.readFully(attribute);
        out.writeShort(attributeName);
        if ("Code".equals(utf8.get(attributeName))) {
          byte[] code = codeWithTable(attribute, isStatic, types, components, fields);
          if (code == null) {
            return null;
          }
          attribute = code;
          written = true;
        }
        out.writeInt(attribute.length);
        out.write(attribute);
      }
      return written ? bytes.toByteArray() : null;
    }

    private byte[] codeWithTable(byte[] code, boolean isStatic, List<String> types,
        List<String> components, List<String> fields) throws IOException {
      DataInputStream reader = new DataInputStream(new ByteArrayInputStream(code));
      reader.skipBytes(4);
      int codeLength = reader.readInt();
      reader.skipBytes(codeLength);
      reader.skipBytes(8 * reader.readUnsignedShort());
      int attributesAt = code.length - reader.available();
      int count = reader.readUnsignedShort();
      for (int i = 0; i < count; i++) {
        if (TABLE.equals(utf8.get(reader.readUnsignedShort()))) {
          return null;
        }
        reader.skipBytes(reader.readInt());
      }
      JadNamesFromTypes names = new JadNamesFromTypes();
      names.addAll(fields);
      ByteArrayOutputStream table = new ByteArrayOutputStream();
      DataOutputStream entries = new DataOutputStream(table);
      entries.writeShort(types.size());
      int slot = isStatic ? 0 : 1;
      for (int i = 0; i < types.size(); i++) {
        String type = types.get(i);
        String name = components != null ? components.get(2 * i)
                                         : names.fresh(JadNamesFromTypes.stem(sourceType(type)));
        names.add(name);
        entries.writeShort(0);
        entries.writeShort(codeLength);
        entries.writeShort(constant(name));
        entries.writeShort(constant(type));
        entries.writeShort(slot);
        slot += type.equals("J") || type.equals("D") ? 2 : 1;
      }
      ByteArrayOutputStream bytes = new ByteArrayOutputStream(code.length + table.size() + 8);
      DataOutputStream out = new DataOutputStream(bytes);
      out.write(code, 0, attributesAt);
      out.writeShort(count + 1);
      out.write(code, attributesAt + 2, code.length - attributesAt - 2);
      out.writeShort(constant(TABLE));
      out.writeInt(table.size());
      out.write(table.toByteArray());
      return bytes.toByteArray();
    }

    // A Utf8 constant's index, appended to the pool where it has none.
    private int constant(String text) {
      for (Map.Entry<Integer, String> entry : utf8.entrySet()) {
        if (entry.getValue().equals(text)) {
          return entry.getKey();
        }
      }
      int index = poolCount + added.size();
      added.add(text);
      utf8.put(index, text);
      return index;
    }
  }

  private static List<String> parameterTypes(String descriptor) {
    List<String> types = new ArrayList<>();
    int at = 1;
    while (descriptor.charAt(at) != ')') {
      int start = at;
      while (descriptor.charAt(at) == '[') {
        at++;
      }
      at = descriptor.charAt(at) == 'L' ? descriptor.indexOf(';', at) + 1 : at + 1;
      types.add(descriptor.substring(start, at));
    }
    return types;
  }

  // "int[]" for "[I", "java.util.List" for "Ljava/util/List;", as JadNamesFromTypes reads a type.
  private static String sourceType(String descriptor) {
    int dimensions = 0;
    while (descriptor.charAt(dimensions) == '[') {
      dimensions++;
    }
    String element = descriptor.substring(dimensions);
    String name;
    switch (element.charAt(0)) {
      case 'L':
        name = element.substring(1, element.length() - 1).replace('/', '.');
        break;
      case 'Z':
        name = "boolean";
        break;
      case 'B':
        name = "byte";
        break;
      case 'C':
        name = "char";
        break;
      case 'S':
        name = "short";
        break;
      case 'I':
        name = "int";
        break;
      case 'J':
        name = "long";
        break;
      case 'F':
        name = "float";
        break;
      default:
        name = "double";
    }
    StringBuilder type = new StringBuilder(name);
    for (int i = 0; i < dimensions; i++) {
      type.append("[]");
    }
    return type.toString();
  }
}
