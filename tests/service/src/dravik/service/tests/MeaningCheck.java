package dravik.service.tests;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeSet;
import java.util.stream.Stream;

/**
 * A check of meaning beside recompiling: the source an engine shows for a class is compiled
 * again, and each method of the class and of the classes nested in it is compared with its
 * recompiled self by what it calls, which fields it reads and writes and which constants it uses
 * (ClassMeaning). A method the source lost counts as not alike.
 */
final class MeaningCheck {
  /** What one class came to: javac's errors (null when it compiled), methods, methods alike. */
  static final class Result {
    final String errors;
    final int methods;
    final int alike;
    final List<String> differences;

    Result(String errors, int methods, int alike, List<String> differences) {
      this.errors = errors;
      this.methods = methods;
      this.alike = alike;
      this.differences = differences;
    }
  }

  private MeaningCheck() {}

  /** The source of answer compiled into folder with javacOptions and compared with shown. */
  static Result of(ServiceClient.Answer answer, ShownClass shown, Path folder,
      List<String> javacOptions) throws Exception {
    Map<String, byte[]> original = new LinkedHashMap<>();
    original.put(shown.fileName(), shown.bytes());
    String nested = shown.simpleName() + "$";
    for (Map.Entry<String, byte[]> member : shown.members().entrySet()) {
      if (member.getKey().startsWith(nested)) {
        original.put(member.getKey(), member.getValue());
      }
    }
    Map<String, Map<String, List<String>>> meanings = new LinkedHashMap<>();
    int methods = 0;
    for (Map.Entry<String, byte[]> file : original.entrySet()) {
      meanings.put(file.getKey(), ClassMeaning.of(file.getValue()));
      methods += meanings.get(file.getKey()).size();
    }
    Path classes = Files.createTempDirectory(folder, "meaning");
    String errors = Recompiles.compile(answer, classes, javacOptions);
    if (errors != null) {
      return new Result(errors, methods, 0, List.of());
    }
    Map<String, Path> recompiled = new HashMap<>();
    try (Stream<Path> walk = Files.walk(classes)) {
      walk.filter(f -> f.toString().endsWith(".class"))
          .forEach(f -> recompiled.put(f.getFileName().toString(), f));
    }
    int alike = 0;
    List<String> differences = new ArrayList<>();
    for (Map.Entry<String, Map<String, List<String>>> file : meanings.entrySet()) {
      Path again = recompiled.get(file.getKey());
      Map<String, List<String>> before = file.getValue();
      Map<String, List<String>> after =
          again == null ? Map.of() : ClassMeaning.of(Files.readAllBytes(again));
      for (Map.Entry<String, List<String>> method : before.entrySet()) {
        List<String> shownAs = after.get(method.getKey());
        if (method.getValue().equals(shownAs)) {
          alike++;
        } else {
          differences.add(file.getKey() + " " + method.getKey() + ": "
              + difference(method.getValue(), shownAs));
        }
      }
    }
    return new Result(null, methods, alike, differences);
  }

  private static String difference(List<String> before, List<String> after) {
    if (after == null) {
      return "not in the source";
    }
    List<String> lost = new ArrayList<>(before);
    List<String> added = new ArrayList<>(after);
    for (String fact : before) {
      if (added.remove(fact)) {
        lost.remove(fact);
      }
    }
    return "lost " + new TreeSet<>(lost) + ", added " + new TreeSet<>(added);
  }
}
