package dravik.service.tests;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import java.util.TreeSet;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import javax.tools.Diagnostic;
import javax.tools.DiagnosticCollector;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

/**
 * What an engine gives through the service is Java that javac compiles again, into classes with
 * every String constant of the original and no other: string concatenations as javac 17 compiles
 * them (service/Concatenations), and Java 17's forms (demo/Features), each sent with its family.
 */
final class Recompiles {
  private Recompiles() {}

  static void run(Path folder, String engine) throws Exception {
    List<List<String>> optionSets = engine.equals(BridgeOptions.VINEFLOWER)
        ? List.of(BridgeOptions.VINEFLOWER_PLAIN, BridgeOptions.VINEFLOWER_LINES)
        : List.of(BridgeOptions.CFR_OPTIONS, BridgeOptions.CFR_LINES);
    List<String> faults = new ArrayList<>();
    try (RunningService service = RunningService.start(folder)) {
      for (String name : List.of("service/Concatenations", "demo/Features")) {
        for (List<String> options : optionSets) {
          String fault = recompile(service, folder, engine, ShownClass.compiled(name), options);
          if (fault != null) {
            faults.add(fault);
          }
        }
      }
    }
    ServiceTests.check(faults.isEmpty(), String.join("\n\n", faults));
  }

  // Null when the source compiles and keeps the class's strings; otherwise what went wrong.
  private static String recompile(RunningService service, Path folder, String engine,
      ShownClass shown, List<String> options) throws IOException {
    String what = engine + " on " + shown.internalName() + " with " + options;
    ServiceClient.Answer answer = service.decompile(engine, options, shown);
    if (answer.status() != ServiceClient.SOURCE) {
      return what + ": no source: " + answer.text();
    }
    Path classes = Files.createTempDirectory(folder, "recompile");
    String errors = compile(answer, classes, List.of("--release", "17"));
    if (errors != null) {
      return what + ": does not compile:\n" + errors;
    }

    List<byte[]> original = new ArrayList<>(shown.members().values());
    original.add(shown.bytes());
    List<byte[]> recompiled;
    try (Stream<Path> walk = Files.walk(classes)) {
      List<Path> files = walk.filter(f -> f.toString().endsWith(".class")).toList();
      recompiled = new ArrayList<>();
      for (Path file : files) {
        recompiled.add(Files.readAllBytes(file));
      }
    }
    Set<String> before = StringConstants.of(original);
    Set<String> after = StringConstants.of(recompiled);
    if (!before.equals(after)) {
      Set<String> lost = new TreeSet<>(before);
      lost.removeAll(after);
      Set<String> added = new TreeSet<>(after);
      added.removeAll(before);
      return what + ": String constants lost " + quoted(lost) + ", added " + quoted(added);
    }
    return null;
  }

  /**
   * Compiles an answer's source into classes (with javacOptions besides its own); null when it
   * compiles, otherwise javac's errors.
   */
  static String compile(ServiceClient.Answer answer, Path classes, List<String> javacOptions)
      throws IOException {
    Path source = Files.createTempDirectory(classes, "source").resolve(answer.path());
    Files.createDirectories(source.getParent());
    Files.write(source, answer.bytes());
    List<String> options = new ArrayList<>(javacOptions);
    options.addAll(List.of("-proc:none", "-nowarn", "-d", classes.toString()));
    JavaCompiler javac = ToolProvider.getSystemJavaCompiler();
    DiagnosticCollector<JavaFileObject> diagnostics = new DiagnosticCollector<>();
    try (StandardJavaFileManager files =
             javac.getStandardFileManager(diagnostics, null, StandardCharsets.UTF_8)) {
      boolean compiled =
          javac.getTask(null, files, diagnostics, options, null, files.getJavaFileObjects(source))
              .call();
      return compiled ? null : errors(diagnostics);
    }
  }

  private static String errors(DiagnosticCollector<JavaFileObject> diagnostics) {
    return diagnostics.getDiagnostics()
        .stream()
        .filter(d -> d.getKind() == Diagnostic.Kind.ERROR)
        .map(d -> "  line " + d.getLineNumber() + ": " + d.getMessage(null))
        .collect(Collectors.joining("\n"));
  }

  private static String quoted(Set<String> strings) {
    return strings.stream()
        .map(s -> "\"" + s.replace("\n", "\\n").replace("\u0001", "\\u0001") + "\"")
        .collect(Collectors.joining(", ", "[", "]"));
  }
}
