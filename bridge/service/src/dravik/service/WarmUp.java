package dravik.service;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.JarURLConnection;
import java.net.URL;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.Enumeration;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.function.BooleanSupplier;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;

/**
 * Decompiles the engine's own classes on a low-priority thread, with the engine and options the
 * bridge uses on this runtime, so that the first requests find that engine's code loaded and
 * compiled by the JIT: a new service's first request took nearly as long as a one-shot run, and
 * the user's next class often comes seconds after the view that started the service. It begins
 * two seconds after the service starts (a user who opens the same class again at once has it
 * from a one-shot run meanwhile, undisturbed), with the class of that view when the bridge handed
 * it over, then goes through the engine's larger classes until a time budget is spent, and stops
 * once a request has come. Then it asks the service to give the heap it grew back.
 */
final class WarmUp {
  private static final long DELAY_MILLIS = 2000;
  private static final long BUDGET_MILLIS = 750;
  private static final int MOST_CLASSES = 40;
  // Classes of a size an ordinary class file has: the engine's very largest take long alone.
  private static final long LARGEST_CLASS_BYTES = 16_000;
  // A class each engine's jar holds, to find the jar by.
  private static final String VINEFLOWER_CLASS = "org/jetbrains/java/decompiler/main/Fernflower.class";
  private static final String CFR_CLASS = "org/benf/cfr/reader/api/CfrDriver.class";
  // What the bridge sends (EngineOptions in bridge/engines/engine.cpp), line numbers included, so
  // that the paths the requests take are the ones compiled.
  private static final List<String> VINEFLOWER_OPTIONS = Arrays.asList("--log-level=warn",
      "--kt-enable=false", "--indent-string=    ", "--jad-names-for-unnamed=1", "--as-written=1",
      "--kotlin-lines=1", "-lnc");
  private static final List<String> CFR_OPTIONS =
      Arrays.asList("--silent", "true", "--sealed", "true", "--hideutf", "false",
          "--jad-names-for-unnamed=1", "--kotlin-lines=1", "-lnc");

  private WarmUp() {}

  /**
   * Runs first (the request the bridge handed over), then warms up unless or until requestCame;
   * done runs when it ends, however it ends.
   */
  static void startUnless(BooleanSupplier requestCame, Runnable first, Runnable done) {
    Thread thread = new Thread(() -> {
      try {
        Thread.sleep(DELAY_MILLIS);
        first.run();
        run(requestCame);
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
      } finally {
        done.run();
      }
    }, "warm-up");
    thread.setDaemon(true);
    thread.setPriority(Thread.MIN_PRIORITY);
    thread.start();
  }

  private static void run(BooleanSupplier requestCame) {
    String name = Engines.ofThisRuntime();
    decompileOwnClasses(name, name.equals(Engines.VINEFLOWER) ? VINEFLOWER_OPTIONS : CFR_OPTIONS,
        requestCame, BUDGET_MILLIS);
  }

  /**
   * Decompiles the engine's own larger classes with options until stop says so or the budget is
   * spent (checked between classes: at least one is decompiled).
   */
  static void decompileOwnClasses(
      String engineName, List<String> options, BooleanSupplier stop, long budgetMillis) {
    try {
      long end = System.nanoTime() + TimeUnit.MILLISECONDS.toNanos(budgetMillis);
      boolean vineflower = engineName.equals(Engines.VINEFLOWER);
      Engine engine = Engines.named(engineName);
      for (byte[] own : largerClassesOf(vineflower ? VINEFLOWER_CLASS : CFR_CLASS)) {
        if (stop.getAsBoolean()) {
          return;
        }
        try {
          engine.decompile(ClassFamily.of(own, Collections.<String, byte[]>emptyMap()), options);
        } catch (Engine.Failure e) {
          // A class the engine cannot decompile warms it up all the same.
        }
        if (System.nanoTime() > end) {
          return;
        }
      }
    } catch (Exception | LinkageError | OutOfMemoryError | StackOverflowError e) {
      // Warming up is worth having, not worth failing for.
    }
  }

  // The jar's larger classes below the bound, largest first, as bytes.
  private static List<byte[]> largerClassesOf(String knownClass) throws IOException {
    URL url = WarmUp.class.getClassLoader().getResource(knownClass);
    List<byte[]> classes = new ArrayList<>();
    if (url == null || !"jar".equals(url.getProtocol())) {
      return classes;
    }
    JarURLConnection connection = (JarURLConnection) url.openConnection();
    connection.setUseCaches(false);
    try (JarFile jar = connection.getJarFile()) {
      List<JarEntry> entries = new ArrayList<>();
      for (Enumeration<JarEntry> all = jar.entries(); all.hasMoreElements();) {
        JarEntry entry = all.nextElement();
        if (entry.getName().endsWith(".class") && !entry.getName().contains("$")
            && entry.getSize() > 0 && entry.getSize() <= LARGEST_CLASS_BYTES) {
          entries.add(entry);
        }
      }
      entries.sort((a, b) -> Long.compare(b.getSize(), a.getSize()));
      for (JarEntry entry : entries.subList(0, Math.min(MOST_CLASSES, entries.size()))) {
        try (InputStream in = jar.getInputStream(entry)) {
          classes.add(readAll(in));
        }
      }
    }
    return classes;
  }

  private static byte[] readAll(InputStream in) throws IOException {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    byte[] buffer = new byte[8192];
    for (int n; (n = in.read(buffer)) > 0;) {
      bytes.write(buffer, 0, n);
    }
    return bytes.toByteArray();
  }
}
