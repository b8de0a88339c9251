package dravik.service.tests;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/**
 * The decompile service against each engine's command line on generated classes of 100, 1,000 and
 * 10,000 source lines: the median time of a one-shot run (a Java runtime started for the class),
 * of the service's first request for each class, and of its warm requests, and the service's
 * memory afterwards. Prints figures, asserts nothing.
 *   ServiceBench CLASS_FOLDER [RUNS [ENGINE...]]   (with the same -D properties as ServiceTests)
 */
public final class ServiceBench {
  private static final int WARM_UP_REQUESTS = 5;

  private ServiceBench() {}

  public static void main(String[] args) throws Exception {
    Path classes = Paths.get(args[0]);
    int runs = args.length > 1 ? Integer.parseInt(args[1]) : 5;
    List<String> engines = args.length > 2 ? List.of(args).subList(2, args.length)
                                           : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR);
    List<ShownClass> shown = new ArrayList<>();
    for (String name : List.of("Bench100", "Bench1000", "Bench10000")) {
      shown.add(ShownClass.inFolder(classes, "bench/" + name));
    }
    Path folder = Files.createTempDirectory("dravik-service-bench");
    System.out.println("service started with " + String.join(" ", RunningService.JVM_OPTIONS));
    for (String engine : engines) {
      bench(folder.resolve(engine), engine, shown, runs);
    }
  }

  private static void bench(Path folder, String engine, List<ShownClass> shown, int runs)
      throws Exception {
    List<String> options = BridgeOptions.of(engine);
    double[] oneShot = new double[shown.size()];
    for (int i = 0; i < shown.size(); i++) {
      List<Double> times = new ArrayList<>();
      for (int run = 0; run < runs; run++) {
        long start = System.nanoTime();
        OneShot.run(folder.resolve("one-shot-" + i + "-" + run), engine, shown.get(i), options);
        times.add(millisSince(start));
      }
      oneShot[i] = median(times);
    }

    System.out.println(engine + " " + options);
    System.out.printf("%-11s %10s %14s %12s %10s%n", "class", "one-shot", "first request", "warm",
        "warm/one-shot");
    try (RunningService service = RunningService.start(Files.createDirectories(folder))) {
      for (int i = 0; i < shown.size(); i++) {
        ShownClass one = shown.get(i);
        long start = System.nanoTime();
        check(service.decompile(engine, options, one));
        double first = millisSince(start);
        for (int k = 0; k < WARM_UP_REQUESTS; k++) {
          check(service.decompile(engine, options, one));
        }
        List<Double> times = new ArrayList<>();
        for (int run = 0; run < runs; run++) {
          start = System.nanoTime();
          check(service.decompile(engine, options, one));
          times.add(millisSince(start));
        }
        double warm = median(times);
        System.out.printf("%-11s %8.0f ms %11.0f ms %9.0f ms %10.3f%n", one.simpleName(),
            oneShot[i], first, warm, warm / oneShot[i]);
      }
      System.out.println("service memory afterwards: " + memory(service.process.pid()));
    }
  }

  private static void check(ServiceClient.Answer answer) {
    ServiceTests.check(answer.status() == ServiceClient.SOURCE, "no source: " + answer.text());
  }

  private static double millisSince(long start) {
    return (System.nanoTime() - start) / 1e6;
  }

  private static double median(List<Double> values) {
    List<Double> sorted = new ArrayList<>(values);
    Collections.sort(sorted);
    return sorted.get(sorted.size() / 2);
  }

  // Resident and peak resident memory, from Linux's view of the process.
  private static String memory(long pid) throws Exception {
    StringBuilder figures = new StringBuilder();
    for (String line : Files.readAllLines(Paths.get("/proc/" + pid + "/status"))) {
      if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:")) {
        figures.append(line.replaceAll("\\s+", " ")).append("  ");
      }
    }
    return figures.toString().trim();
  }
}
