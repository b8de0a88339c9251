package dravik.service.tests;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.stream.Collectors;
import java.util.stream.Stream;

/** Procyon's command line run once on a class alone in a folder, as the bridge runs it. */
final class OneShot {
  final String path;
  final byte[] bytes;

  private OneShot(String path, byte[] bytes) {
    this.path = path;
    this.bytes = bytes;
  }

  /** The run with the default charset the bridge gives it, UTF-8. */
  static OneShot run(Path folder, String fileName, byte[] classBytes, List<String> options)
      throws Exception {
    return run("UTF-8", folder, fileName, classBytes, options);
  }

  static OneShot run(String encoding, Path folder, String fileName, byte[] classBytes,
      List<String> options) throws Exception {
    Path input = folder.resolve("in").resolve(fileName + ".class");
    Path output = folder.resolve("out");
    Files.createDirectories(input.getParent());
    Files.write(input, classBytes);
    List<String> command =
        new ArrayList<>(Arrays.asList(RunningService.JAVA, "-Dfile.encoding=" + encoding, "-cp",
            RunningService.PROCYON_CLASS_PATH, "com.strobel.decompiler.DecompilerDriver"));
    command.addAll(options);
    command.addAll(Arrays.asList("-o", output.toString(), input.toString()));
    Process process = new ProcessBuilder(command)
                          .redirectOutput(ProcessBuilder.Redirect.DISCARD)
                          .redirectError(ProcessBuilder.Redirect.INHERIT)
                          .start();
    ServiceTests.check(process.waitFor(300, TimeUnit.SECONDS), "the one-shot run did not end");
    List<Path> written;
    try (Stream<Path> files = Files.walk(output)) {
      written = files.filter(Files::isRegularFile).collect(Collectors.toList());
    }
    ServiceTests.check(written.size() == 1, "the one-shot run wrote " + written);
    String relative = output.relativize(written.get(0)).toString().replace('\\', '/');
    return new OneShot(relative, Files.readAllBytes(written.get(0)));
  }
}
