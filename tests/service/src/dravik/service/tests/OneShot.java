package dravik.service.tests;

import java.io.File;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.TimeUnit;
import java.util.stream.Collectors;
import java.util.stream.Stream;

/**
 * A class decompiled in a Java runtime started for it: by the bridge's one-shot run (the service's
 * jar, DecompileOnce) or by the engine's own command line. FOLDER holds the shown class file and
 * its family under their own names in the folders of their package (for Vineflower's command
 * line, the family's classes not nested in the shown one in a folder of their own, given with -e),
 * OUT holds the package's folders (Vineflower writes into them without making them), and the
 * source is "<simple binary name>.java" from anywhere under OUT.
 */
record OneShot(String path, byte[] bytes) {
  static final String VINEFLOWER_JAR = System.getProperty("dravik.vineflower");
  static final String CFR_JAR = System.getProperty("dravik.cfr");

  /** The bridge's one-shot run, with the default charset the bridge gives it, UTF-8. */
  static OneShot run(Path folder, String engine, ShownClass shown, List<String> options)
      throws Exception {
    return run("UTF-8", folder, engine, shown, options);
  }

  static OneShot run(String encoding, Path folder, String engine, ShownClass shown,
      List<String> options) throws Exception {
    return run(encoding, folder, engine, shown, options, false);
  }

  /** The engine's own command line: "java -jar vineflower.jar" or "java -jar cfr.jar". */
  static OneShot engineCommandLine(
      Path folder, String engine, ShownClass shown, List<String> options) throws Exception {
    return run("UTF-8", folder, engine, shown, options, true);
  }

  private static OneShot run(String encoding, Path folder, String engine, ShownClass shown,
      List<String> options, boolean engineItself) throws Exception {
    String packageFolders = shown.internalName().substring(
        0, shown.internalName().length() - shown.simpleName().length());
    Path root = folder.resolve("in");
    Path input = Files.createDirectories(root.resolve(packageFolders));
    Path output = folder.resolve("out");
    Files.createDirectories(output.resolve(packageFolders));
    Path classFile = input.resolve(shown.fileName());
    Files.write(classFile, shown.bytes());
    // Vineflower's command line, as the service runs it, reads the family's classes that are not
    // nested in the shown one as a library (-e).
    Path contextRoot = folder.resolve("context");
    Path context = contextRoot.resolve(packageFolders);
    boolean split = engineItself && engine.equals(BridgeOptions.VINEFLOWER);
    String nested = shown.simpleName() + "$";
    for (Map.Entry<String, byte[]> member : shown.members().entrySet()) {
      boolean apart = split && !member.getKey().startsWith(nested);
      Path into = apart ? Files.createDirectories(context) : input;
      Files.write(into.resolve(member.getKey()), member.getValue());
    }
    List<String> command =
        new ArrayList<>(List.of(RunningService.JAVA, "-Dfile.encoding=" + encoding));
    if (!engineItself) {
      command.addAll(List.of("-cp",
          String.join(File.pathSeparator, VINEFLOWER_JAR, CFR_JAR, RunningService.SERVICE_JAR),
          "dravik.service.DecompileOnce", engine, classFile.toString(), output.toString()));
      command.addAll(options);
    } else if (engine.equals(BridgeOptions.VINEFLOWER)) {
      command.addAll(List.of("-jar", VINEFLOWER_JAR));
      command.addAll(options);
      command.add("--only=" + shown.internalName());
      if (Files.isDirectory(context)) {
        command.add("-e=" + contextRoot);
      }
      command.addAll(List.of(root.toString(), output.toString()));
    } else {
      command.addAll(
          List.of("-jar", CFR_JAR, classFile.toString(), "--outputdir", output.toString()));
      command.addAll(options);
    }
    Process process = new ProcessBuilder(command)
                          .redirectOutput(ProcessBuilder.Redirect.DISCARD)
                          .redirectError(ProcessBuilder.Redirect.INHERIT)
                          .start();
    ServiceTests.check(process.waitFor(300, TimeUnit.SECONDS), "the one-shot run did not end");
    String wanted = shown.simpleName() + ".java";
    List<Path> written;
    try (Stream<Path> files = Files.walk(output)) {
      written =
          files.filter(f -> f.getFileName().toString().equals(wanted)).collect(Collectors.toList());
    }
    ServiceTests.check(written.size() == 1, "the one-shot run wrote " + written + " as " + wanted);
    String relative = output.relativize(written.get(0)).toString().replace('\\', '/');
    return new OneShot(relative, Files.readAllBytes(written.get(0)));
  }
}
