package dravik.service.tests;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * The service against the one-shot runs: each class twice through one service (the second time
 * from its recent sources), byte for byte and under the same path as the bridge's one-shot run
 * (the service's jar started for the class, its family read from the class's folder), and, with
 * the engine's own options, as the engine's own command line (so Vineflower's runtime classes,
 * which the service finds as they are asked for, are those its command line lists). F3 on a
 * top-level class and on one of its members, classes of the tests' own, of the Java runtime and
 * of a real library, in a package and in none.
 */
final class SameAsOneShot {
  private SameAsOneShot() {}

  static void run(Path folder, String engine) throws Exception {
    List<ShownClass> classes = new ArrayList<>(
        List.of(ShownClass.compiled("demo/Showcase"), ShownClass.compiled("demo/Showcase$Planet"),
            ShownClass.compiled("demo/Modern"), ShownClass.compiled("demo/Modern$Unit"),
            ShownClass.compiled("service/Greeting"), ShownClass.compiled("demo/Family"),
            ShownClass.compiled("demo/Family$Member"), ShownClass.compiled("NoPackage"),
            ShownClass.inRuntime("java.base", "java/util/AbstractMap"),
            ShownClass.inJar(OneShot.CFR_JAR, "org/benf/cfr/reader/util/getopt/GetOptParser")));
    List<String> options = BridgeOptions.of(engine);
    try (RunningService service = RunningService.start(folder)) {
      for (ShownClass shown : classes) {
        sameAsEngine(service, engine, shown, BridgeOptions.enginesOwn(options));
      }
      for (int i : new int[] {0, 5, 6, 7}) {
        sameAsBridge(service, "UTF-8", engine, classes.get(i), options);
      }
      // A member without its family.
      sameAsBridge(service, "UTF-8", engine, classes.get(6).alone(), options);
      if (engine.equals(BridgeOptions.VINEFLOWER)) {
        sameAsBridge(service, "UTF-8", engine, classes.get(5), BridgeOptions.VINEFLOWER_PLAIN);
      }
    }
    if (engine.equals(BridgeOptions.CFR)) {
      // CFR writes its file in the default charset: with Windows' western code page the text
      // beyond it changes, and the service's bytes must change with it. (By default CFR writes
      // Unicode escapes for all text beyond ASCII, so it is asked for the text itself here.)
      List<String> cp1252 = new ArrayList<>(RunningService.JVM_OPTIONS);
      cp1252.replaceAll(o -> o.startsWith("-Dfile.encoding=") ? "-Dfile.encoding=windows-1252" : o);
      Path cp1252Folder = Files.createDirectories(folder.resolve("cp1252"));
      try (RunningService service = RunningService.startWith(cp1252, cp1252Folder)) {
        sameAsBridge(service, "windows-1252", engine, ShownClass.compiled("service/Greeting"),
            BridgeOptions.CFR_OPTIONS);
      }
    }
  }

  private static void sameAsBridge(RunningService service, String encoding, String engine,
      ShownClass shown, List<String> options) throws Exception {
    Path runFolder = Files.createTempDirectory(service.portFile.getParent(), "one-shot");
    compare(service, engine, shown, options, encoding + ", the bridge's one-shot run",
        OneShot.run(encoding, runFolder, engine, shown, options));
  }

  private static void sameAsEngine(RunningService service, String engine, ShownClass shown,
      List<String> options) throws Exception {
    Path runFolder = Files.createTempDirectory(service.portFile.getParent(), "command-line");
    compare(service, engine, shown, options, "the engine's command line",
        OneShot.engineCommandLine(runFolder, engine, shown, options));
  }

  private static void compare(RunningService service, String engine, ShownClass shown,
      List<String> options, String against, OneShot expected) throws Exception {
    for (int round = 0; round < 2; round++) {
      ServiceClient.Answer answer = service.decompile(engine, options, shown);
      String what = engine + " on " + shown.internalName() + " with " + shown.members().size()
          + " members, " + options + ", against " + against + ", round " + round;
      ServiceTests.check(answer.status() == ServiceClient.SOURCE, what + ": " + answer.text());
      ServiceTests.check(answer.path().equals(expected.path()),
          what + ": " + answer.path() + ", not " + expected.path());
      ServiceTests.check(
          Arrays.equals(answer.bytes(), expected.bytes()), what + ": not the same source");
    }
  }
}
