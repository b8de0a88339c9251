package dravik.service;

import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/**
 * The bytes on a connection, one request and one answer each (all numbers big-endian;
 * bridge/service/README.md has the same table):
 *
 * <pre>
 * request: u32 magic 0x4452564B ("DRVK")   u16 version 1
 *          u16 n + n bytes: the secret from the port file (n at most 64)
 *          u16 count (at most 32), then count times: u16 n + n bytes of UTF-8, one Procyon option
 *              (n at most 256)
 *          u32 n + n bytes: the class file (1 to 16 MiB)
 * answer:  u8 status
 *          0 (source):  u16 n + n bytes of UTF-8: the path the command line would write,
 *                       "/"-separated, e.g. "demo/Showcase.java"
 *                       u32 n + n bytes: that file's content
 *          1 (failed):  u32 n + n bytes of UTF-8: why the class or the options gave no source
 *          2 (refused): u32 n + n bytes of UTF-8: why the request was not taken (magic,
 *                       version, secret, sizes); the connection closes after it
 * </pre>
 *
 * The secret is checked before anything else is read, so a caller without it cannot make the
 * service take a class in.
 */
final class Protocol {
  static final int MAGIC = 0x4452564B;
  static final int VERSION = 1;
  static final int MAX_SECRET_BYTES = 64;
  static final int MAX_OPTIONS = 32;
  static final int MAX_OPTION_BYTES = 256;
  static final int MAX_CLASS_BYTES = 16 * 1024 * 1024;

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
    final List<String> options;
    final byte[] classBytes;

    Request(List<String> options, byte[] classBytes) {
      this.options = options;
      this.classBytes = classBytes;
    }
  }

  private Protocol() {}

  static Request readRequest(DataInputStream in, byte[] secret) throws IOException, Refusal {
    if (in.readInt() != MAGIC) {
      throw new Refusal("Not a request of the dravik decompile service.");
    }
    int version = in.readUnsignedShort();
    if (version != VERSION) {
      throw new Refusal(
          "Protocol version " + version + " is not spoken here; this is " + VERSION + ".");
    }
    byte[] offered = readBytes(in, in.readUnsignedShort(), MAX_SECRET_BYTES, "secret");
    if (!MessageDigest.isEqual(offered, secret)) {
      throw new Refusal("Wrong secret.");
    }
    int count = in.readUnsignedShort();
    if (count > MAX_OPTIONS) {
      throw new Refusal("More than " + MAX_OPTIONS + " options.");
    }
    List<String> options = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      byte[] option = readBytes(in, in.readUnsignedShort(), MAX_OPTION_BYTES, "option");
      options.add(new String(option, StandardCharsets.UTF_8));
    }
    int length = in.readInt();
    if (length <= 0) {
      throw new Refusal("An empty class file.");
    }
    byte[] classBytes = readBytes(in, length, MAX_CLASS_BYTES, "class file");
    return new Request(Collections.unmodifiableList(options), classBytes);
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
