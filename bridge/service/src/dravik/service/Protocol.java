package dravik.service;

import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * The bytes on a connection, one request and one answer each (all numbers big-endian;
 * bridge/service/README.md has the same table):
 *
 * <pre>
 * request: u32 magic 0x4452564B ("DRVK")   u16 version 3
 *          u16 n + n bytes: the secret from the port file (n at most 64)
 *          u16 n + n bytes of ASCII: the key of the settings the caller wants a service of
 *              (n at most 64; a service started with other settings refuses the request)
 *          u16 n + n bytes of UTF-8: the engine, "vineflower" or "cfr" (n at most 32)
 *          u16 count (at most 32), then count times: u16 n + n bytes of UTF-8, one token of the
 *              engine's command-line options or the service's own, -lnc and, for Vineflower,
 *              --jad-names-for-unnamed=1 and --as-written=1 (n at most 256)
 *          u32 n + n bytes: the shown class file (1 byte to 16 MiB)
 *          u16 count (at most 4096), then count times, one member of the class's family:
 *              u16 n + n bytes of UTF-8: its file name, e.g. "Outer$Inner.class" (1 to 1024,
 *              no '/', '\', ':' or "..")
 *              u32 n + n bytes: its class file (1 byte to 16 MiB)
 *          the class and its family together at most 64 MiB
 * answer:  u8 status
 *          0 (source):  u16 n + n bytes of UTF-8: the path the command line would write under its
 *                       output folder, "/"-separated, e.g. "Outer.java" or "demo/Outer.java"
 *                       u32 n + n bytes: that file's content
 *          1 (failed):  u32 n + n bytes of UTF-8: why the class or the options gave no source
 *          2 (refused): u32 n + n bytes of UTF-8: why the request was not taken (magic,
 *                       version, secret, a size or a name); the connection closes after it
 * </pre>
 *
 * The secret is checked before anything else is read, so a caller without it cannot make the
 * service take a class in; every length is checked before its bytes are read.
 */
final class Protocol {
  static final int MAGIC = 0x4452564B;
  static final int VERSION = 3;
  static final int MAX_SECRET_BYTES = 64;
  static final int MAX_SETTINGS_KEY_BYTES = 64;
  static final int MAX_ENGINE_BYTES = 32;
  static final int MAX_OPTIONS = 32;
  static final int MAX_OPTION_BYTES = 256;
  static final int MAX_CLASS_BYTES = 16 * 1024 * 1024;
  static final int MAX_MEMBERS = 4096;
  static final int MAX_MEMBER_NAME_BYTES = 1024;
  static final long MAX_FAMILY_BYTES = 64L * 1024 * 1024;

  static final int SOURCE = 0;
  static final int FAILED = 1;
  static final int REFUSED = 2;

  /** A request that is not taken: answered with REFUSED and this text. */
  static final class Refusal extends Exception {
    private static final long serialVersionUID = 1L;

    Refusal(String message) {
      super(message);
    }
  }

  /** A request read in full. */
  static final class Request {
    final String settingsKey;
    final String engine;
    final List<String> options;
    final byte[] classBytes;
    /** The family's class files by file name, in the order sent. */
    final Map<String, byte[]> members;

    Request(String settingsKey, String engine, List<String> options, byte[] classBytes,
        Map<String, byte[]> members) {
      this.settingsKey = settingsKey;
      this.engine = engine;
      this.options = options;
      this.classBytes = classBytes;
      this.members = members;
    }
  }

  private Protocol() {}

  static Request readRequest(DataInputStream in, byte[] secret) throws IOException, Refusal {
    if (in.readInt() != MAGIC) {
      throw new Refusal("Not a request of the dravik decompile service.");
    }
    int version = in.readUnsignedShort();
    if (version != VERSION) {
      throw new Refusal("Protocol version " + version + " is not spoken here; this service speaks "
          + "version " + VERSION + ".");
    }
    byte[] offered = readBytes(in, in.readUnsignedShort(), MAX_SECRET_BYTES, "secret");
    if (!MessageDigest.isEqual(offered, secret)) {
      throw new Refusal("Wrong secret.");
    }
    String settingsKey = readText(in, MAX_SETTINGS_KEY_BYTES, "settings key");
    String engine = readText(in, MAX_ENGINE_BYTES, "engine's name");
    int count = in.readUnsignedShort();
    if (count > MAX_OPTIONS) {
      throw new Refusal("More than " + MAX_OPTIONS + " options.");
    }
    List<String> options = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      options.add(readText(in, MAX_OPTION_BYTES, "option"));
    }
    byte[] classBytes = readClassFile(in, "class file");
    long total = classBytes.length;
    int members = in.readUnsignedShort();
    if (members > MAX_MEMBERS) {
      throw new Refusal("More than " + MAX_MEMBERS + " members in the family.");
    }
    Map<String, byte[]> family = new LinkedHashMap<>();
    for (int i = 0; i < members; i++) {
      String name = readText(in, MAX_MEMBER_NAME_BYTES, "family member's name");
      if (name.isEmpty() || name.contains("/") || name.contains("\\") || name.contains(":")
          || name.contains("..")) {
        throw new Refusal("Not a file name for a family member: \"" + name + "\".");
      }
      if (family.containsKey(name)) {
        throw new Refusal("The family names " + name + " twice.");
      }
      int length = in.readInt();
      if (length > 0 && total + length > MAX_FAMILY_BYTES) {
        throw new Refusal(
            "The class and its family are longer than " + MAX_FAMILY_BYTES + " bytes.");
      }
      family.put(name, readClassFile(in, length, name));
      total += length;
    }
    return new Request(settingsKey, engine, Collections.unmodifiableList(options), classBytes,
        Collections.unmodifiableMap(family));
  }

  static void writeSource(DataOutputStream out, String relativePath, byte[] source)
      throws IOException {
    byte[] path = relativePath.getBytes(StandardCharsets.UTF_8);
    if (path.length > 0xFFFF) {
      writeText(out, FAILED, "The class's name is too long to send.");
      return;
    }
    out.writeByte(SOURCE);
    out.writeShort(path.length);
    out.write(path);
    out.writeInt(source.length);
    out.write(source);
    out.flush();
  }

  static void writeText(DataOutputStream out, int status, String text) throws IOException {
    byte[] bytes = text.getBytes(StandardCharsets.UTF_8);
    out.writeByte(status);
    out.writeInt(bytes.length);
    out.write(bytes);
    out.flush();
  }

  private static byte[] readClassFile(DataInputStream in, String what) throws IOException, Refusal {
    return readClassFile(in, in.readInt(), what);
  }

  private static byte[] readClassFile(DataInputStream in, int length, String what)
      throws IOException, Refusal {
    if (length == 0) {
      throw new Refusal("An empty " + what + ".");
    }
    return readBytes(in, length, MAX_CLASS_BYTES, what);
  }

  private static String readText(DataInputStream in, int limit, String what)
      throws IOException, Refusal {
    return new String(readBytes(in, in.readUnsignedShort(), limit, what), StandardCharsets.UTF_8);
  }

  private static byte[] readBytes(DataInputStream in, int length, int limit, String what)
      throws IOException, Refusal {
    if (length < 0 || length > limit) {
      throw new Refusal("The " + what + " is longer than " + limit + " bytes.");
    }
    byte[] bytes = new byte[length];
    in.readFully(bytes);
    return bytes;
  }
}
