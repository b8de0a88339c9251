package dravik.service.tests;

import java.io.ByteArrayInputStream;
import java.io.DataInputStream;
import java.io.IOException;
import java.util.Set;
import java.util.TreeSet;

/** The String constants of class files (CONSTANT_String), as javap -v lists them. */
final class StringConstants {
  private StringConstants() {}

  static Set<String> of(Iterable<byte[]> classFiles) throws IOException {
    Set<String> all = new TreeSet<>();
    for (byte[] classFile : classFiles) {
      all.addAll(of(classFile));
    }
    return all;
  }

  static Set<String> of(byte[] classFile) throws IOException {
    DataInputStream in = new DataInputStream(new ByteArrayInputStream(classFile));
    in.readInt();
    in.readInt();
    int count = in.readUnsignedShort();
    String[] utf8 = new String[count];
    int[] strings = new int[count];
    for (int i = 1; i < count; i++) {
      int tag = in.readUnsignedByte();
      switch (tag) {
        case 1 -> utf8[i] = in.readUTF();
        case 8 -> strings[i] = in.readUnsignedShort();
        case 7, 16, 19, 20 -> in.readUnsignedShort();
        case 15 -> in.skipBytes(3);
        case 3, 4, 9, 10, 11, 12, 17, 18 -> in.readInt();
        case 5, 6 -> {
          in.readLong();
          i++;
        }
        default -> throw new IOException("constant pool tag " + tag);
      }
    }
    Set<String> constants = new TreeSet<>();
    for (int index : strings) {
      if (index != 0) {
        constants.add(utf8[index]);
      }
    }
    return constants;
  }
}
