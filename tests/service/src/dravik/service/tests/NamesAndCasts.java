package dravik.service.tests;

import java.io.PrintWriter;
import java.io.StringWriter;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;
import java.util.TreeSet;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.spi.ToolProvider;

/**
 * What the service shows of a class's locals and calls, compiled again and read with javap
 * (service/Locals): compiled with its local variable table, every local keeps its name, with
 * either engine; compiled without, Vineflower gives Jad-style names from the types' simple names,
 * none twice in a method and none a field's; and the calls of Java 8's Buffer methods that Java 9
 * overrode in ByteBuffer compile to the same methods again.
 */
final class NamesAndCasts {
  private static final String LOCALS = "service/Locals";
  private static final Pattern METHOD = Pattern.compile("^  \\S.*\\);$");
  private static final Pattern LOCAL =
      Pattern.compile("^\\s+\\d+\\s+\\d+\\s+\\d+\\s+(\\S+)\\s+\\S+$");
  private static final Pattern CALL = Pattern.compile("// Method (java/nio/\\w+)\\.(\\S+)$");

  private NamesAndCasts() {}

  static void run(Path folder) throws Exception {
    Path data = Paths.get(System.getProperty("dravik.data"));
    ShownClass named = ShownClass.inFolder(data.resolve("g"), LOCALS);
    ShownClass unnamed = ShownClass.compiled(LOCALS);
    try (RunningService service = RunningService.start(folder)) {
      Map<String, Set<String>> table = locals(javap(named.bytes()));
      for (String engine : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR)) {
        Map<String, Set<String>> shown =
            locals(javap(recompiled(service, folder, engine, named, "Locals.class")));
        for (Map.Entry<String, Set<String>> method : table.entrySet()) {
          ServiceTests.check(
              shown.getOrDefault(method.getKey(), Set.of()).containsAll(method.getValue()),
              engine + ": the locals of " + method.getKey() + " are " + shown.get(method.getKey())
                  + ", not " + method.getValue());
        }
      }

      String vineflower = BridgeOptions.VINEFLOWER;
      Map<String, Set<String>> jad =
          locals(javap(recompiled(service, folder, vineflower, unnamed, "Locals.class")));
      Map<String, Set<String>> expected = new TreeMap<>();
      expected.put("int area(int)",
          Set.of("this", "j", "circle1", "circle2", "k", "l", "acircle", "s", "flag"));
      expected.put("int lambda(int)", Set.of("this", "j", "k", "intsupplier"));
      expected.put("static int lambda$lambda$0(int)", Set.of("k", "l"));
      expected.put("static int buffers(byte[])", Set.of("ab", "bytebuffer"));
      for (Map.Entry<String, Set<String>> method : expected.entrySet()) {
        ServiceTests.check(method.getValue().equals(jad.get(method.getKey())),
            "Jad-style locals of " + method.getKey() + ": " + jad.get(method.getKey()) + ", not "
                + method.getValue());
      }

      Set<String> calls = calls(javap(unnamed.bytes()));
      Set<String> again =
          calls(javap(recompiled(service, folder, vineflower, unnamed, "Locals.class")));
      ServiceTests.check(
          calls.equals(again), "Vineflower's source calls " + again + ", the class " + calls);
    }
  }

  // The source the service shows for the class, compiled with the table (for Java 17, so that a
  // call without its cast goes to the newer method); the class file of that name.
  private static byte[] recompiled(RunningService service, Path folder, String engine,
      ShownClass shown, String classFile) throws Exception {
    ServiceClient.Answer answer = service.decompile(engine, BridgeOptions.of(engine), shown);
    ServiceTests.check(answer.status() == ServiceClient.SOURCE, engine + ": " + answer.text());
    Path classes = Files.createTempDirectory(folder, "names");
    String errors = Recompiles.compile(answer, classes, List.of("--release", "17", "-g"));
    ServiceTests.check(errors == null, engine + "'s source does not compile:\n" + errors);
    return Files.readAllBytes(classes.resolve(shown.internalName()).resolveSibling(classFile));
  }

  static List<String> javap(byte[] classFile) throws Exception {
    Path file = Files.createTempFile("names", ".class");
    try {
      Files.write(file, classFile);
      StringWriter out = new StringWriter();
      int status = ToolProvider.findFirst("javap").orElseThrow().run(
          new PrintWriter(out), new PrintWriter(out), "-c", "-l", "-p", file.toString());
      ServiceTests.check(status == 0, "javap: " + out);
      return List.of(out.toString().split("\\R"));
    } finally {
      Files.delete(file);
    }
  }

  // Each method's local variable table, as the names in it.
  private static Map<String, Set<String>> locals(List<String> javap) {
    Map<String, Set<String>> locals = new TreeMap<>();
    String method = null;
    for (String line : javap) {
      if (METHOD.matcher(line).matches()) {
        method = line.trim().replaceFirst("^(public |private |protected )", "");
        method = method.substring(0, method.length() - 1);
      }
      Matcher local = LOCAL.matcher(line);
      if (method != null && local.matches()) {
        locals.computeIfAbsent(method, m -> new TreeSet<>()).add(local.group(1));
      }
    }
    return locals;
  }

  // The java.nio methods called, as name and descriptor: which class's method runs follows from
  // them on any runtime from Java 8.
  private static Set<String> calls(List<String> javap) {
    Set<String> calls = new TreeSet<>();
    for (String line : javap) {
      Matcher call = CALL.matcher(line);
      if (call.find()) {
        calls.add(call.group(2));
      }
    }
    return calls;
  }
}
