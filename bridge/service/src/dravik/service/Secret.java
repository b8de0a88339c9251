package dravik.service;

import java.io.IOException;
import java.io.InputStream;
import java.util.Arrays;

/**
 * The secret a caller must send, as the bridge hands it over: one line on the service's standard
 * input. The service makes none of its own: seeding Java's SecureRandom walks every network
 * adapter on Windows, which is slow on machines with many of them.
 */
final class Secret {
  static final int LEAST_LENGTH = 16;
  static final int MOST_LENGTH = 64;

  private Secret() {}

  /**
   * The first line of in, without its line end: 16 to 64 characters from 0-9, a-z and A-Z.
   * Throws IllegalArgumentException with the reason otherwise.
   */
  static byte[] read(InputStream in) throws IOException {
    byte[] line = new byte[MOST_LENGTH];
    int length = 0;
    for (int c; (c = in.read()) >= 0 && c != '\n';) {
      if (c == '\r') {
        continue;
      }
      if (length == MOST_LENGTH || !isSecretCharacter(c)) {
        throw new IllegalArgumentException(
            "the secret on standard input is not " + LEAST_LENGTH + " to " + MOST_LENGTH
            + " letters and digits");
      }
      line[length++] = (byte) c;
    }
    if (length < LEAST_LENGTH) {
      throw new IllegalArgumentException("no secret on standard input (" + LEAST_LENGTH + " to "
          + MOST_LENGTH + " letters and digits, then a line end)");
    }
    return Arrays.copyOf(line, length);
  }

  private static boolean isSecretCharacter(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  }
}
