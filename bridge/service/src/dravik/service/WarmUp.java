package dravik.service;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.function.BooleanSupplier;

/**
 * Decompiles the service's own classes a few times on a low-priority thread, with the engine and
 * options the bridge uses on this runtime, so that the first requests find that engine's code
 * compiled by the JIT: cold, a request takes several times as long as warm. It waits a moment
 * first, to leave the processor to the one-shot run that the bridge has just made, and stops once
 * a request has come.
 */
final class WarmUp {
  private static final long DELAY_MILLIS = 2000;
  private static final int ROUNDS = 2;
  private static final String[] CLASSES = {
      "DecompileService",
      "PortFile",
      "Protocol",
      "ClassFileName",
      "ServiceSettings",
  };
  // What the bridge sends (EngineOptions in bridge/engine.cpp), line numbers included, so that
  // the paths the requests take are the ones compiled.
  private static final List<String> VINEFLOWER_OPTIONS = Arrays.asList("--log-level=warn",
      "--kt-enable=false", "--indent-string=    ", "--jad-names-for-unnamed=1", "-lnc");
  private static final List<String> CFR_OPTIONS =
      Arrays.asList("--silent", "true", "--sealed", "true", "--hideutf", "false", "-lnc");

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
      String name = Engines.ofThisRuntime();
      Engine engine = Engines.named(name);
      List<String> options = name.equals(Engines.VINEFLOWER) ? VINEFLOWER_OPTIONS : CFR_OPTIONS;
      for (int round = 0; round < ROUNDS; round++) {
        for (String own : CLASSES) {
          if (requestCame.getAsBoolean()) {
            return;
          }
          engine.decompile(
              ClassFamily.of(ownClass(own), Collections.<String, byte[]>emptyMap()), options);
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
