package dravik.service.tests;

import java.nio.file.Path;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;

/**
 * The service's recent sources, with a stand-in for CFR that numbers its runs (tests/service/
 * standin), so that an answer shows which run made it: a request seen before gets the same bytes
 * without a run; a request that differs in anything its source depends on is a run of its own; past
 * the bound the least recently used are dropped; a failure is not kept; the same request twice at
 * once is one run; the request handed over at the start is run first. (SameAsOneShot has the real
 * engines' repeats against their command lines.)
 */
final class RepeatViews {
  private static final String STANDIN = System.getProperty("dravik.standin");
  private static final String CFR = BridgeOptions.CFR;

  private final RunningService service;
  private int runs;

  private RepeatViews(RunningService service) {
    this.service = service;
  }

  static void run(Path folder) throws Exception {
    try (RunningService service = RunningService.startWith(
             RunningService.JVM_OPTIONS, List.of(STANDIN), folder, "--cache-megabytes", "1")) {
      RepeatViews views = new RepeatViews(service);
      views.keyedByEverything();
      views.leastRecentlyUsedGoFirst();
      views.failuresAreTriedAgain();
      views.twoAtOnceMakeOneRun();
    }
    handedOver(folder);
  }

  // The same request twice at once: the second waits for the first's run.
  private void twoAtOnceMakeOneRun() throws Exception {
    ShownClass shown = ShownClass.compiled("demo/Modern");
    List<String> slow = List.of("--sleep=1000");
    ExecutorService both = Executors.newFixedThreadPool(2);
    try {
      Future<String> first = both.submit(() -> source(slow, shown));
      Thread.sleep(200);
      Future<String> second = both.submit(() -> source(slow, shown));
      runs++;
      ServiceTests.check(first.get().startsWith("run " + runs + " of ")
              && second.get().equals(first.get()),
          "two at once: " + first.get() + " / " + second.get());
    } finally {
      both.shutdown();
    }
  }

  // The request the bridge hands a new service after its secret is decompiled first (after the
  // warm-up's two seconds) and kept: asked for later, it is that run's.
  private static void handedOver(Path folder) throws Exception {
    ShownClass shown = ShownClass.compiled("demo/Family");
    List<String> options = List.of("--handed");
    try (RunningService service = RunningService.startHandingOver(
             List.of(STANDIN), CFR, options, shown, folder)) {
      RepeatViews views = new RepeatViews(service);
      Thread.sleep(5000);
      views.runs = 1;
      views.decompiled(List.of("--other"), shown);
      ServiceTests.check(views.source(options, shown).startsWith("run 1 of "),
          "the request handed over was not decompiled first");
    }
  }

  private void keyedByEverything() throws Exception {
    ShownClass shown = ShownClass.compiled("demo/Family");
    String first = decompiled(List.of(), shown);
    kept(first, List.of(), shown);

    String member = shown.members().keySet().iterator().next();
    Map<String, byte[]> changed = new LinkedHashMap<>(shown.members());
    byte[] bytes = changed.get(member).clone();
    bytes[bytes.length - 1] ^= 1;
    changed.put(member, bytes);
    Map<String, byte[]> renamed = new LinkedHashMap<>();
    shown.members().forEach(
        (name, file) -> renamed.put(name.equals(member) ? "X" + name : name, file));
    byte[] classBytes = shown.bytes().clone();
    classBytes[classBytes.length - 1] ^= 1;
    decompiled(List.of(), new ShownClass(shown.internalName(), classBytes, shown.members()));
    decompiled(List.of(), shown.alone());
    decompiled(List.of(), new ShownClass(shown.internalName(), shown.bytes(), changed));
    decompiled(List.of(), new ShownClass(shown.internalName(), shown.bytes(), renamed));
    decompiled(List.of("--a", "b"), shown);
    decompiled(List.of("--ab"), shown);
    decompiled(List.of("--a", "b"), shown.alone());
    ServiceClient.Answer vineflower = service.decompile(BridgeOptions.VINEFLOWER, List.of(), shown);
    ServiceTests.check(
        vineflower.status() == ServiceClient.SOURCE && !vineflower.text().startsWith("run "),
        "Vineflower's answer is not its own: " + vineflower.text());
    kept(first, List.of(), shown);
  }

  // Three sources of 400 KB each in a bound of 1 MiB: the third pushes out the one used longest
  // ago, not the one made first.
  private void leastRecentlyUsedGoFirst() throws Exception {
    List<String> large = List.of("--size=400000");
    ShownClass a = ShownClass.compiled("demo/Modern");
    ShownClass b = ShownClass.compiled("service/Greeting");
    ShownClass c = ShownClass.compiled("demo/Showcase");
    String aFirst = decompiled(large, a);
    decompiled(large, b);
    kept(aFirst, large, a);
    String cFirst = decompiled(large, c);
    kept(aFirst, large, a);
    kept(cFirst, large, c);
    decompiled(large, b);
    decompiled(large, a);
  }

  private void failuresAreTriedAgain() throws Exception {
    ShownClass shown = ShownClass.compiled("NoPackage");
    for (int i = 0; i < 2; i++) {
      ServiceClient.Answer answer = service.decompile(CFR, List.of("--fail"), shown);
      runs++;
      ServiceTests.check(answer.status() == ServiceClient.FAILED
              && answer.text().equals("run " + runs + " failed"),
          "failure " + i + ": " + answer.status() + " " + answer.text());
    }
  }

  // A request the engine must run for: the answer is the next run's.
  private String decompiled(List<String> options, ShownClass shown) throws Exception {
    String source = source(options, shown);
    runs++;
    ServiceTests.check(source.startsWith("run " + runs + " of "),
        "expected run " + runs + " for " + shown.internalName() + " " + options + ", got "
            + source.substring(0, Math.min(60, source.length())));
    return source;
  }

  // A request answered from memory: the same bytes as the run that made them.
  private void kept(String earlier, List<String> options, ShownClass shown) throws Exception {
    ServiceTests.check(source(options, shown).equals(earlier),
        shown.internalName() + " " + options + " was decompiled again");
  }

  private String source(List<String> options, ShownClass shown) throws Exception {
    ServiceClient.Answer answer = service.decompile(CFR, options, shown);
    ServiceTests.check(answer.status() == ServiceClient.SOURCE, "no source: " + answer.text());
    return answer.text();
  }
}
