package dravik.service.tests;

import java.io.IOException;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;

/**
 * The decompile service against each engine's command line and the engine alone, on generated
 * classes of 100, 1,000 and 10,000 source lines; with several sets of JVM options for the service,
 * side by side. Prints figures, asserts nothing.
 *   ServiceBench CLASS_FOLDER [RUNS [ENGINE...]]   (with the same -D properties as ServiceTests,
 *   and -Ddravik.service.jvm="OPTIONS | OTHER OPTIONS | ..." for the sets to compare)
 *
 * For each engine: the median time of a one-shot run (a Java runtime started for the class) and of
 * the engine's decompile in this process (InProcess), warmed up by the same views as a service.
 * Then for each set of options, a service of its own: its first request for each class; 97 more
 * classes of the Java runtime, for 100 views of different classes, and its resident memory and peak
 * after them; warm requests (the class not seen before: each a copy that differs in its SourceFile
 * name, which neither engine shows) and repeats (the class seen before, answered from the service's
 * recent sources); and its resident memory after an idle spell (-Ddravik.bench.idle.seconds, 35:
 * the service gives its heap back 30 quiet seconds after the last request).
 */
public final class ServiceBench {
  private static final int WARM_UP_REQUESTS = 5;
  private static final int VIEWS = 100;
  private static final long IDLE_SECONDS = Long.getLong("dravik.bench.idle.seconds", 35);

  private final List<ShownClass> generated;
  private final List<ShownClass> runtimeClasses;
  private final int runs;
  private int copies;

  private ServiceBench(List<ShownClass> generated, List<ShownClass> runtimeClasses, int runs) {
    this.generated = generated;
    this.runtimeClasses = runtimeClasses;
    this.runs = runs;
  }

  /** One service's figures. */
  private record ServiceRun(List<String> jvm, double[] first, double[] warm, double[] warmLeast,
      double[] warmMost, double[] warmCpu, double[] repeat, double viewSeconds,
      double viewCpuSeconds, long residentKb, long peakKb, long idleKb) {}

  public static void main(String[] args) throws Exception {
    Path classes = Paths.get(args[0]);
    int runs = args.length > 1 ? Integer.parseInt(args[1]) : 5;
    List<String> engines = args.length > 2 ? List.of(args).subList(2, args.length)
                                           : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR);
    List<ShownClass> generated = new ArrayList<>();
    for (String name : List.of("Bench100", "Bench1000", "Bench10000")) {
      generated.add(ShownClass.inFolder(classes, "bench/" + name));
    }
    ServiceBench bench =
        new ServiceBench(generated, runtimeClasses(VIEWS - generated.size()), runs);
    List<List<String>> jvms = new ArrayList<>();
    for (String set :
        System.getProperty("dravik.service.jvm", String.join(" ", RunningService.JVM_OPTIONS))
            .split("\\|")) {
      jvms.add(List.of(set.trim().split("\\s+")));
    }
    Path folder = Files.createTempDirectory("dravik-service-bench");
    for (String engine : engines) {
      bench.bench(folder.resolve(engine), engine, jvms);
    }
  }

  private void bench(Path folder, String engine, List<List<String>> jvms) throws Exception {
    List<String> options = BridgeOptions.of(engine);
    double[] oneShot = new double[generated.size()];
    double[] inProcess = new double[generated.size()];
    InProcess alone = new InProcess(engine);
    // As warm as a service after its 100 views.
    for (ShownClass shown : generated) {
      alone.decompile(options, shown);
    }
    for (ShownClass shown : runtimeClasses) {
      try {
        alone.decompile(options, shown);
      } catch (Exception e) {
        // A class an engine cannot take is still a view.
      }
    }
    for (int i = 0; i < generated.size(); i++) {
      List<Double> times = new ArrayList<>();
      for (int run = 0; run < runs; run++) {
        long start = System.nanoTime();
        OneShot.run(folder.resolve("one-shot-" + i + "-" + run), engine, generated.get(i), options);
        times.add(millisSince(start));
      }
      oneShot[i] = median(times);
      for (int k = 0; k < WARM_UP_REQUESTS; k++) {
        alone.decompile(options, copy(generated.get(i)));
      }
      times.clear();
      for (int run = 0; run < runs; run++) {
        ShownClass shown = copy(generated.get(i));
        long start = System.nanoTime();
        alone.decompile(options, shown);
        times.add(millisSince(start));
      }
      inProcess[i] = median(times);
    }

    System.out.println();
    System.out.println(engine + " " + options);
    System.out.printf("%-11s %10s %12s%n", "class", "one-shot", "in-process");
    for (int i = 0; i < generated.size(); i++) {
      System.out.printf(
          "%-11s %7.0f ms %9.0f ms%n", generated.get(i).simpleName(), oneShot[i], inProcess[i]);
    }
    List<ServiceRun> services = new ArrayList<>();
    for (int set = 0; set < jvms.size(); set++) {
      Path serviceFolder = Files.createDirectories(folder.resolve("service-" + set));
      ServiceRun service = service(serviceFolder, engine, options, jvms.get(set));
      services.add(service);
      print(service, (char) ('A' + set), oneShot, inProcess);
    }
    for (int set = 1; set < services.size(); set++) {
      compare(services.get(0), services.get(set), (char) ('A' + set));
    }
  }

  private ServiceRun service(Path folder, String engine, List<String> options, List<String> jvm)
      throws Exception {
    int n = generated.size();
    double[] first = new double[n];
    double[] warm = new double[n];
    double[] warmLeast = new double[n];
    double[] warmMost = new double[n];
    double[] warmCpu = new double[n];
    double[] repeat = new double[n];
    try (RunningService service = RunningService.startWith(jvm, folder)) {
      for (int i = 0; i < n; i++) {
        long start = System.nanoTime();
        check(service.decompile(engine, options, generated.get(i)));
        first[i] = millisSince(start);
      }
      long start = System.nanoTime();
      double cpu = cpuMillis(service);
      for (ShownClass shown : runtimeClasses) {
        // A class an engine cannot take is still a view.
        service.decompile(engine, options, shown);
      }
      double viewSeconds = (System.nanoTime() - start) / 1e9;
      double viewCpuSeconds = (cpuMillis(service) - cpu) / 1000;
      long residentKb = memoryKb(service, "VmRSS:");
      long peakKb = memoryKb(service, "VmHWM:");

      for (int i = 0; i < n; i++) {
        for (int k = 0; k < WARM_UP_REQUESTS; k++) {
          check(service.decompile(engine, options, copy(generated.get(i))));
        }
        List<Double> times = new ArrayList<>();
        List<Double> cpuTimes = new ArrayList<>();
        ShownClass shown = null;
        for (int run = 0; run < runs; run++) {
          shown = copy(generated.get(i));
          cpu = cpuMillis(service);
          start = System.nanoTime();
          check(service.decompile(engine, options, shown));
          times.add(millisSince(start));
          cpuTimes.add(cpuMillis(service) - cpu);
        }
        warm[i] = median(times);
        warmCpu[i] = median(cpuTimes);
        warmLeast[i] = Collections.min(times);
        warmMost[i] = Collections.max(times);
        times.clear();
        for (int run = 0; run < runs; run++) {
          start = System.nanoTime();
          check(service.decompile(engine, options, shown));
          times.add(millisSince(start));
        }
        repeat[i] = median(times);
      }
      Thread.sleep(IDLE_SECONDS * 1000);
      long idleKb = memoryKb(service, "VmRSS:");
      return new ServiceRun(jvm, first, warm, warmLeast, warmMost, warmCpu, repeat, viewSeconds,
          viewCpuSeconds, residentKb, peakKb, idleKb);
    }
  }

  private void print(ServiceRun service, char name, double[] oneShot, double[] inProcess) {
    System.out.println("service " + name + ": " + String.join(" ", service.jvm()));
    System.out.printf("%-11s %13s %24s %12s %10s %13s %17s%n", "class", "first request",
        "warm (least-most)", "warm's CPU", "repeat", "warm/one-shot", "warm - in-process");
    for (int i = 0; i < generated.size(); i++) {
      System.out.printf(
          "%-11s %10.0f ms %9.0f ms (%4.0f-%4.0f) %9.0f ms %7.0f ms %13.3f %14.0f ms%n",
          generated.get(i).simpleName(), service.first()[i], service.warm()[i],
          service.warmLeast()[i], service.warmMost()[i], service.warmCpu()[i], service.repeat()[i],
          service.warm()[i] / oneShot[i], service.warm()[i] - inProcess[i]);
    }
    System.out.printf("%d views of different classes: %.1f s (the last %d: %.1f s, %.1f s of the"
            + " service's CPU); then resident %d MB, peak %d MB; after %d s idle, resident %d MB%n",
        VIEWS, service.viewSeconds() + sum(service.first()) / 1000, runtimeClasses.size(),
        service.viewSeconds(), service.viewCpuSeconds(), service.residentKb() / 1024,
        service.peakKb() / 1024, IDLE_SECONDS, service.idleKb() / 1024);
  }

  private void compare(ServiceRun a, ServiceRun b, char name) {
    StringBuilder warm = new StringBuilder();
    for (int i = 0; i < generated.size(); i++) {
      warm.append(String.format(" %s %.2f (CPU %.2f)", generated.get(i).simpleName(),
          b.warm()[i] / a.warm()[i], b.warmCpu()[i] / a.warmCpu()[i]));
    }
    System.out.printf("%c/A: warm%s; %d views %.2f (CPU %.2f); resident %.2f, peak %.2f,"
            + " idle %.2f%n",
        name, warm, VIEWS,
        (b.viewSeconds() + sum(b.first()) / 1000) / (a.viewSeconds() + sum(a.first()) / 1000),
        b.viewCpuSeconds() / a.viewCpuSeconds(), (double) b.residentKb() / a.residentKb(),
        (double) b.peakKb() / a.peakKb(), (double) b.idleKb() / a.idleKb());
  }

  // The generated class again, with another SourceFile name of the same length: a class the
  // service has not seen, which the engines decompile as they do the original.
  private ShownClass copy(ShownClass shown) {
    byte[] sourceFile = (shown.simpleName() + ".java").getBytes(StandardCharsets.UTF_8);
    byte[] bytes = shown.bytes().clone();
    int at = indexOf(bytes, sourceFile);
    ServiceTests.check(at >= 0, shown.internalName() + " names no source file");
    byte[] other = String.format("%s%05d", shown.simpleName(), ++copies % 100_000)
                       .getBytes(StandardCharsets.UTF_8);
    System.arraycopy(other, 0, bytes, at, other.length);
    return new ShownClass(shown.internalName(), bytes, shown.members());
  }

  private static int indexOf(byte[] bytes, byte[] wanted) {
    for (int i = 0; i + wanted.length <= bytes.length; i++) {
      if (Arrays.equals(bytes, i, i + wanted.length, wanted, 0, wanted.length)) {
        return i;
      }
    }
    return -1;
  }

  // Top-level classes of java.base's java.* packages, evenly spread by name, with their families: a
  // mix of sizes, each different.
  private static List<ShownClass> runtimeClasses(int count) throws IOException {
    Path base = FileSystems.getFileSystem(URI.create("jrt:/")).getPath("/modules", "java.base");
    List<String> names;
    try (Stream<Path> files = Files.walk(base.resolve("java"))) {
      names = files.map(f -> base.relativize(f).toString())
                  .filter(f -> f.endsWith(".class") && !f.contains("$"))
                  .map(f -> f.substring(0, f.length() - ".class".length()))
                  .sorted()
                  .collect(Collectors.toList());
    }
    List<ShownClass> classes = new ArrayList<>();
    for (int i = 0; i < count; i++) {
      classes.add(ShownClass.inRuntime("java.base", names.get(i * names.size() / count)));
    }
    return classes;
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

  private static double sum(double[] values) {
    return Arrays.stream(values).sum();
  }

  // The service's processor time so far, all its threads (the JIT's and the collector's too), from
  // Linux's view of the process: a cost that other load on the machine changes less than time.
  private static double cpuMillis(RunningService service) throws IOException {
    String stat = Files.readString(Paths.get("/proc/" + service.process.pid() + "/stat"));
    String[] fields = stat.substring(stat.lastIndexOf(')') + 2).split(" ");
    // utime and stime, the 14th and 15th fields, in clock ticks of 10 ms.
    return (Long.parseLong(fields[11]) + Long.parseLong(fields[12])) * 10.0;
  }

  // A figure in kB from Linux's view of the process: VmRSS resident, VmHWM its peak.
  private static long memoryKb(RunningService service, String field) throws IOException {
    for (String line :
        Files.readAllLines(Paths.get("/proc/" + service.process.pid() + "/status"))) {
      if (line.startsWith(field)) {
        return Long.parseLong(line.substring(field.length()).replace("kB", "").trim());
      }
    }
    throw new IOException("no " + field + " for the service");
  }
}
