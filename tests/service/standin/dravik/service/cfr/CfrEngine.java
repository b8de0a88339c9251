package dravik.service.cfr;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * Stands in for the service's CFR engine when put before the service's jar on its class path, so a
 * test can tell an answer from the engine from one the service kept: each run is numbered, and the
 * number is in its source ("run 3 of demo/Showcase [--size=1000]"). Options: --fail fails the run
 * (with its number), --size=N pads the source to N bytes, --sleep=N takes N ms.
 */
public final class CfrEngine implements Engine {
  private final AtomicInteger runs = new AtomicInteger();

  @Override
  public Source decompile(ClassFamily family, List<String> options) throws Failure {
    int run = runs.incrementAndGet();
    for (String option : options) {
      if (option.startsWith("--sleep=")) {
        try {
          Thread.sleep(Long.parseLong(option.substring("--sleep=".length())));
        } catch (InterruptedException e) {
          Thread.currentThread().interrupt();
        }
      }
    }
    if (options.contains("--fail")) {
      throw new Failure("run " + run + " failed");
    }
    byte[] text = ("run " + run + " of " + family.internalName + " " + options + "\n")
                      .getBytes(StandardCharsets.UTF_8);
    int size = text.length;
    for (String option : options) {
      if (option.startsWith("--size=")) {
        size = Math.max(size, Integer.parseInt(option.substring("--size=".length())));
      }
    }
    byte[] source = Arrays.copyOf(text, size);
    Arrays.fill(source, text.length, size, (byte) ' ');
    return new Source(family.internalName + ".java", source);
  }
}
