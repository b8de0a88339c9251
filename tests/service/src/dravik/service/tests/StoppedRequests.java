package dravik.service.tests;

import dravik.service.cfr.CfrEngine;
import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import dravik.service.vineflower.VineflowerEngine;
import java.io.OutputStream;
import java.net.Socket;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.function.BooleanSupplier;

/**
 * Work nobody waits for: a request whose caller has gone is given up (the stand-in engine counts
 * the runs it gave up), one still queued is never run, and a caller waiting for the same class
 * still gets it; each engine gives up through its own check. And a service serves only the
 * settings it was started with.
 */
final class StoppedRequests {
  private static final String STANDIN = System.getProperty("dravik.standin");
  private static final String CFR = BridgeOptions.CFR;
  private static final long BOUND_NANOS = TimeUnit.SECONDS.toNanos(60);

  private StoppedRequests() {}

  static void callersThatLeave(Path folder) throws Exception {
    ShownClass shown = ShownClass.compiled("demo/Showcase");
    try (RunningService service =
             RunningService.startWith(RunningService.JVM_OPTIONS, List.of(STANDIN), folder)) {
      // Both workers busy, three more queued behind them; then every caller leaves.
      List<Socket> callers = new ArrayList<>();
      for (int i = 0; i < 5; i++) {
        callers.add(send(service, List.of("--sleep=600000", "--size=" + (100 + i)), shown));
      }
      Thread.sleep(500);
      for (Socket caller : callers) {
        caller.close();
      }
      awaitStopped(service, shown, 2);
      // The queued three never ran: the next run is the third.
      String next = service.decompile(CFR, List.of(), shown).text();
      ServiceTests.check(next.startsWith("run 3 of "), "after the callers left: " + next);

      // One caller leaves while another waits for the same class: that one gets it.
      List<String> slow = List.of("--sleep=1500");
      Socket leaving = send(service, slow, shown);
      Thread.sleep(300);
      ExecutorService waiting = Executors.newSingleThreadExecutor();
      try {
        Future<ServiceClient.Answer> stays =
            waiting.submit(() -> service.decompile(CFR, slow, shown));
        Thread.sleep(300);
        leaving.close();
        ServiceClient.Answer answer = stays.get(120, TimeUnit.SECONDS);
        ServiceTests.check(answer.status() == ServiceClient.SOURCE
                && answer.text().startsWith("run 5 of "),
            "the caller that stayed: " + answer.status() + " " + answer.text());
      } finally {
        waiting.shutdownNow();
      }
      awaitStopped(service, shown, 3);
    }
  }

  // Each engine asks whether it is stopped while it works, and gives up when so.
  static void enginesGiveUp() throws Exception {
    ShownClass showcase = ShownClass.compiled("demo/Showcase");
    ClassFamily family = ClassFamily.of(showcase.bytes(), showcase.members());
    List<Engine> engines = List.of(new VineflowerEngine(), new CfrEngine());
    List<String> inside = List.of("org.jetbrains.java.decompiler.", "org.benf.cfr.");
    for (int i = 0; i < engines.size(); i++) {
      Engine engine = engines.get(i);
      expectStopped(engine, family, () -> true, engine + " stopped before it began");
      // False until the engine asks from inside its own code, true from then on.
      AtomicInteger fromInside = new AtomicInteger();
      String where = inside.get(i);
      BooleanSupplier whileWorking = () -> {
        if (Arrays.stream(Thread.currentThread().getStackTrace())
                .anyMatch(frame -> frame.getClassName().startsWith(where))) {
          fromInside.incrementAndGet();
        }
        return fromInside.get() > 0;
      };
      expectStopped(engine, family, whileWorking, engine + " stopped while it works");
      ServiceTests.check(fromInside.get() > 0, engine + " never asked while it worked");
      ServiceTests.check(engine.decompile(family, List.of(), () -> false).bytes.length > 0,
          engine + " gave no source when not stopped");
    }
  }

  // A request for other settings is refused and the service ends, giving its port file up.
  static void otherSettings(Path folder) throws Exception {
    ShownClass shown = ShownClass.compiled("demo/Showcase");
    try (RunningService service = RunningService.start(folder, "--settings", "0123456789abcdef")) {
      ServiceClient.Answer same = exchange(service, "0123456789abcdef", shown);
      ServiceTests.check(same.status() == ServiceClient.SOURCE, "its own settings: " + same.text());
      ServiceClient.Answer other = exchange(service, "fedcba9876543210", shown);
      ServiceTests.check(other.status() == ServiceClient.REFUSED
              && other.text().contains("other settings"),
          "other settings: " + other.status() + " " + other.text());
      ServiceTests.check(service.awaitExit() == 0, "it ended with " + service.awaitExit());
      ServiceTests.check(!Files.exists(service.portFile), "its port file stayed");
    }
    // The service for the new settings takes the port file over.
    try (RunningService next = RunningService.start(folder, "--settings", "fedcba9876543210")) {
      ServiceTests.check(exchange(next, "fedcba9876543210", shown).status() == ServiceClient.SOURCE,
          "the new service did not serve");
    }
  }

  private static ServiceClient.Answer exchange(
      RunningService service, String settingsKey, ShownClass shown) throws Exception {
    return ServiceClient.exchange(service.port,
        ServiceClient.request(service.secret, settingsKey, CFR, BridgeOptions.CFR_OPTIONS, shown));
  }

  private static void expectStopped(
      Engine engine, ClassFamily family, BooleanSupplier stopped, String what) throws Exception {
    try {
      engine.decompile(family, BridgeOptions.of(
          engine instanceof CfrEngine ? CFR : BridgeOptions.VINEFLOWER), stopped);
    } catch (Engine.Stopped expected) {
      return;
    }
    throw new AssertionError(what + ": it gave source");
  }

  // A request sent in full on a connection left open.
  private static Socket send(RunningService service, List<String> options, ShownClass shown)
      throws Exception {
    Socket socket = ServiceClient.connect(service.port);
    OutputStream out = socket.getOutputStream();
    out.write(ServiceClient.request(service.secret, CFR, options, shown));
    out.flush();
    return socket;
  }

  // Until the stand-in engine has given up that many runs (each ask is a request of its own).
  private static void awaitStopped(RunningService service, ShownClass shown, int count)
      throws Exception {
    long end = System.nanoTime() + BOUND_NANOS;
    String said = "";
    for (int ask = 0; System.nanoTime() < end; ask++) {
      said = service.decompile(CFR, List.of("--stopped-runs=" + ask), shown).text();
      if (said.startsWith(count + " stopped")) {
        return;
      }
      Thread.sleep(50);
    }
    throw new AssertionError("the runs given up: " + said + ", not " + count);
  }
}
