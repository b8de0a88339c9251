package dravik.service.cfr;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.function.BooleanSupplier;

/**
 * Stands in for the service's CFR engine when put before the service's jar on its class path, so a
 * test can tell an answer from the engine from one the service kept: each run is numbered, and the
 * number is in its source ("run 3 of demo/Showcase [--size=1000]"). Options: --fail fails the run
 * (with its number), --size=N pads the source to N bytes, --sleep=N takes N ms (and gives up
 * once stopped says so, as the real engines do); --stopped-runs=X answers, without a run, "N
 * stopped" where N counts the runs given up (X only makes each such request new).
 */
public final class CfrEngine implements Engine {
  private final AtomicInteger runs = new AtomicInteger();
  private final AtomicInteger stoppedRuns = new AtomicInteger();

  @Override
  public Source decompile(ClassFamily family, List<String> options, BooleanSupplier stopped)
      throws Failure {
    for (String option : options) {
      if (option.startsWith("--stopped-runs=")) {
        return new Source(family.internalName + ".java",
            (stoppedRuns.get() + " stopped\n").getBytes(StandardCharsets.UTF_8));
      }
    }
    int run = runs.incrementAndGet();
    for (String option : options) {
      if (option.startsWith("--sleep=")) {
        long millis = Long.parseLong(option.substring("--sleep=".length()));
        long end = System.nanoTime() + millis * 1_000_000;
        while (System.nanoTime() < end) {
          if (stopped.getAsBoolean()) {
            stoppedRuns.incrementAndGet();
            throw new Stopped();
          }
          try {
            Thread.sleep(5);
          } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            break;
          }
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
