package dravik.service;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.util.Collections;
import java.util.function.BooleanSupplier;

/**
 * Decompiles the service's own classes a few times on a low-priority thread, so that the first
 * requests find Procyon's code compiled by the JIT: cold, a request takes several times as long as
 * warm. It waits a moment first, to leave the processor to the one-shot run that the bridge starts
 * together with the service, and stops once a request has come.
 */
final class WarmUp {
  private static final long DELAY_MILLIS = 2000;
  private static final int ROUNDS = 2;
  private static final String[] CLASSES = {
      "ClassDecompiler",
      "DecompileService",
      "LineNumberMarks",
      "PortFile",
      "Protocol",
      "RequestTypes",
  };

  private WarmUp() {}

  static void startUnless(BooleanSupplier requestCame) {
    Thread thread = new Thread(() -> run(requestCame), "warm-up");
    thread.setDaemon(true);
    thread.setPriority(Thread.MIN_PRIORITY);
    thread.start();
  }

  private static void run(BooleanSupplier requestCame) {
    try {
      Thread.sleep(DELAY_MILLIS);
      for (int round = 0; round < ROUNDS; round++) {
        for (String name : CLASSES) {
          if (requestCame.getAsBoolean()) {
            return;
          }
          ClassDecompiler.decompile(ownClass(name), Collections.singletonList("-ln"));
        }
      }
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    } catch (Exception | LinkageError | OutOfMemoryError | StackOverflowError e) {
      // Warming up is worth having, not worth failing for.
    }
  }

  private static byte[] ownClass(String name) throws IOException {
    try (InputStream in = WarmUp.class.getResourceAsStream(name + ".class")) {
      if (in == null) {
        throw new IOException(name + ".class is not in the service's jar");
      }
      ByteArrayOutputStream bytes = new ByteArrayOutputStream();
      byte[] buffer = new byte[8192];
      for (int n; (n = in.read(buffer)) > 0;) {
        bytes.write(buffer, 0, n);
      }
      return bytes.toByteArray();
    }
  }
}
