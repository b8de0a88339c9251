package dravik.service;

import java.util.Arrays;

/**
 * A training run: the engine decompiles some of its own classes as a one-shot run decompiles a
 * user's, so that the Java runtime writes the classes it loaded into a class-data cache at the
 * end of the run (where the bridge's -XX:AOTCacheOutput or -XX:ArchiveClassesAtExit says). The
 * bridge starts it at low priority after a view that found no cache, then checks the cache and
 * puts it where the next one-shot runs and services map it.
 *
 * <pre>
 * java -cp &lt;vineflower.jar, cfr.jar and this jar&gt; dravik.service.CacheTraining ENGINE [OPTION...]
 * </pre>
 *
 * Exit codes: 0 done (whatever the engine made of its classes), 2 bad arguments.
 */
public final class CacheTraining {
  // Long enough for the engine's paths a class takes, loaded and run a few times; the runtime
  // then writes the cache, which takes longer (seconds for Java 25's).
  private static final long BUDGET_MILLIS = 2000;

  private CacheTraining() {}

  public static void main(String[] args) {
    if (args.length < 1) {
      System.err.println("usage: CacheTraining ENGINE [OPTION...]");
      System.exit(2);
      return;
    }
    WarmUp.decompileOwnClasses(
        args[0], Arrays.asList(args).subList(1, args.length), () -> false, BUDGET_MILLIS);
  }
}
