package dravik.service;

import java.nio.charset.StandardCharsets;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.Arrays;
import java.util.Map;

/**
 * A request's identity for RecentSources: SHA-256 over everything its source depends on, the
 * engine, the options, the class file and the family's names and files. Every field goes in with
 * its length first (and each list with its count), so that no two different requests give the same
 * stream of bytes.
 */
final class RequestKey {
  private final byte[] digest;
  private final int hash;

  private RequestKey(byte[] digest) {
    this.digest = digest;
    this.hash = Arrays.hashCode(digest);
  }

  static RequestKey of(Protocol.Request request) {
    MessageDigest sha256;
    try {
      sha256 = MessageDigest.getInstance("SHA-256");
    } catch (NoSuchAlgorithmException e) {
      throw new IllegalStateException("Every Java runtime has SHA-256.", e);
    }
    field(sha256, utf8(request.engine));
    count(sha256, request.options.size());
    for (String option : request.options) {
      field(sha256, utf8(option));
    }
    field(sha256, request.classBytes);
    count(sha256, request.members.size());
    for (Map.Entry<String, byte[]> member : request.members.entrySet()) {
      field(sha256, utf8(member.getKey()));
      field(sha256, member.getValue());
    }
    return new RequestKey(sha256.digest());
  }

  private static byte[] utf8(String text) {
    return text.getBytes(StandardCharsets.UTF_8);
  }

  private static void field(MessageDigest sha256, byte[] bytes) {
    count(sha256, bytes.length);
    sha256.update(bytes);
  }

  private static void count(MessageDigest sha256, int n) {
    sha256.update(new byte[] {(byte) (n >>> 24), (byte) (n >>> 16), (byte) (n >>> 8), (byte) n});
  }

  @Override
  public boolean equals(Object other) {
    return other instanceof RequestKey && Arrays.equals(digest, ((RequestKey) other).digest);
  }

  @Override
  public int hashCode() {
    return hash;
  }
}
