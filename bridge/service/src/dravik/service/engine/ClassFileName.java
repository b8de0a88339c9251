package dravik.service.engine;

import java.io.ByteArrayInputStream;
import java.io.DataInputStream;
import java.io.IOException;

/** The name a class file gives itself (this_class), read from its constant pool. */
final class ClassFileName {
  private ClassFileName() {}

  /** The internal name, e.g. "demo/Outer$Inner". */
  static String of(byte[] classBytes) throws Engine.Failure {
    try {
      DataInputStream in = new DataInputStream(new ByteArrayInputStream(classBytes));
      if (in.readInt() != 0xCAFEBABE) {
        throw new Engine.Failure("Not a class file.");
      }
      in.readUnsignedShort();
      in.readUnsignedShort();
      int count = in.readUnsignedShort();
      String[] utf8 = new String[count];
      int[] classNameIndex = new int[count];
      for (int i = 1; i < count; i++) {
        int tag = in.readUnsignedByte();
        switch (tag) {
          case 1:
            utf8[i] = in.readUTF();
            break;
          case 7:
            classNameIndex[i] = in.readUnsignedShort();
            break;
          case 8:
          case 16:
          case 19:
          case 20:
            in.readUnsignedShort();
            break;
          case 15:
            in.readUnsignedByte();
            in.readUnsignedShort();
            break;
          case 3:
          case 4:
          case 9:
          case 10:
          case 11:
          case 12:
          case 17:
          case 18:
            in.readInt();
            break;
          case 5:
          case 6:
            in.readLong();
            i++; // a long or a double takes two entries
            break;
          default:
            throw new Engine.Failure("Not a readable class file: constant pool tag " + tag + ".");
        }
      }
      in.readUnsignedShort();
      int self = in.readUnsignedShort();
      String name = self > 0 && self < count && classNameIndex[self] < count
          ? utf8[classNameIndex[self]]
          : null;
      if (name == null || name.isEmpty()) {
        throw new Engine.Failure("The class file names no class.");
      }
      return name;
    } catch (IOException e) {
      throw new Engine.Failure("Not a readable class file: it ends too soon.");
    }
  }
}
