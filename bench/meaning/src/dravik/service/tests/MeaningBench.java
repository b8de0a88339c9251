package dravik.service.tests;

import java.io.PrintWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Random;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;

/**
 * The check of meaning (MeaningCheck) over Debian's jars: COUNT top-level classes chosen by a
 * fixed seed from every jar of a folder (symbolic links passed over), each shown by the service
 * with the bridge's options (no column), compiled again against all the folder's jars for the
 * Java its class file was made for, its methods compared. Prints the totals; REPORT gets each
 * class's errors and differing methods.
 *
 * <pre>
 * MeaningBench JARS_FOLDER COUNT ENGINE REPORT   (with -Ddravik.service.jar and the rest;
 *                                                 -Ddravik.meaning.plain=true: the engine's
 *                                                 options alone)
 * </pre>
 */
public final class MeaningBench {
  private MeaningBench() {}

  public static void main(String[] args) throws Exception {
    Path jars = Paths.get(args[0]);
    int count = Integer.parseInt(args[1]);
    String engine = args[2];
    List<String> options =
        engine.equals(BridgeOptions.VINEFLOWER) ? BridgeOptions.VINEFLOWER_PLAIN : BridgeOptions.CFR_OPTIONS;
    if (Boolean.getBoolean("dravik.meaning.plain")) {
      options = BridgeOptions.enginesOwn(options); // for a service that knows none of its own
    }
    List<Path> real;
    try (Stream<Path> list = Files.list(jars)) {
      real = list.filter(p -> p.toString().endsWith(".jar") && !Files.isSymbolicLink(p))
                 .sorted()
                 .collect(Collectors.toList());
    }
    List<String[]> classes = new ArrayList<>();
    for (Path jar : real) {
      try (ZipFile zip = new ZipFile(jar.toFile())) {
        zip.stream()
            .map(ZipEntry::getName)
            .filter(n -> n.endsWith(".class") && !n.contains("$") && !n.startsWith("META-INF/")
                    && !n.endsWith("module-info.class") && !n.endsWith("package-info.class")
                    && n.contains("/"))
            .sorted()
            .forEach(n -> classes.add(new String[] {jar.toString(), n.substring(0, n.length() - 6)}));
      }
    }
    Collections.shuffle(classes, new Random(41));
    String classPath = real.stream().map(Path::toString).collect(Collectors.joining(":"));
    Path folder = Files.createTempDirectory("meaning-bench");
    int shown = 0;
    int recompiled = 0;
    int methods = 0;
    int alike = 0;
    int methodsRecompiled = 0;
    long start = System.nanoTime();
    try (PrintWriter report = new PrintWriter(Files.newBufferedWriter(Paths.get(args[3]), StandardCharsets.UTF_8));
         RunningService service = RunningService.start(folder)) {
      for (String[] entry : classes.subList(0, Math.min(count, classes.size()))) {
        ShownClass shownClass = ShownClass.inJar(entry[0], entry[1]);
        int major = ((shownClass.bytes()[6] & 0xff) << 8) | (shownClass.bytes()[7] & 0xff);
        String release = Integer.toString(Math.min(17, Math.max(8, major - 44)));
        ServiceClient.Answer answer = service.decompile(engine, options, shownClass);
        shown++;
        if (answer.status() != ServiceClient.SOURCE) {
          report.println(entry[1] + ": no source: " + answer.text());
          continue;
        }
        Path work = Files.createTempDirectory(folder, "class");
        MeaningCheck.Result result = MeaningCheck.of(answer, shownClass, work,
            List.of("--release", release, "-cp", classPath, "-encoding", "UTF-8"));
        methods += result.methods;
        if (result.errors == null) {
          recompiled++;
          methodsRecompiled += result.methods;
          alike += result.alike;
        }
        report.println(entry[1] + " (" + Paths.get(entry[0]).getFileName() + ", Java " + release
            + "): " + (result.errors == null ? result.alike + " of " + result.methods + " alike" : "does not compile"));
        if (result.errors != null) {
          report.println(result.errors);
        }
        for (String difference : result.differences) {
          report.println("  " + difference);
        }
        ServiceTests.deleteTree(work);
      }
    } finally {
      ServiceTests.deleteTree(folder);
    }
    System.out.printf("%s: %d classes from %d jars, %d recompile; methods alike %d of %d (of %d"
            + " in the classes that recompile); %.0f s%n",
        engine, shown, real.size(), recompiled, alike, methods, methodsRecompiled,
        (System.nanoTime() - start) / 1e9);
  }
}
