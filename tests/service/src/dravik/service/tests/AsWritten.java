package dravik.service.tests;

import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.regex.Pattern;

/**
 * Source that reads as written: classes of char constants (for Java 8's StringBuilder and Java
 * 17's concatenation), unnamed parameters, records and switches, shown by either engine, compile
 * again into methods alike (MeaningCheck); Vineflower names every parameter from its type where
 * the class has none, writes the chars as char literals and the switch arms in the order of their
 * lines, in these classes and in the demo class; CFR names the parameters of methods with code
 * as Vineflower does.
 */
final class AsWritten {
  private static final Pattern ENGINES_NAME = Pattern.compile("\\bvar\\d+x*\\b");

  private AsWritten() {}

  static void run(Path folder) throws Exception {
    Path data = Paths.get(System.getProperty("dravik.data"));
    List<ShownClass> classes = List.of(ShownClass.compiled("service/Chars"),
        ShownClass.inFolder(data.resolve("j8"), "service/Chars"),
        ShownClass.compiled("service/Written"), ShownClass.compiled("demo/Modern"));
    List<String> faults = new ArrayList<>();
    try (RunningService service = RunningService.start(folder)) {
      // Not the chars with CFR: it writes some as ints where Java wants a cast.
      for (String engine : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR)) {
        boolean vineflower = engine.equals(BridgeOptions.VINEFLOWER);
        for (ShownClass shown : vineflower ? classes : classes.subList(2, 4)) {
          ServiceClient.Answer answer = service.decompile(engine, shown);
          String release = shown.bytes()[7] <= 52 ? "8" : "17";
          MeaningCheck.Result result =
              MeaningCheck.of(answer, shown, folder, List.of("--release", release));
          if (result.errors != null || result.alike != result.methods) {
            faults.add(engine + " on " + shown.internalName() + " (Java " + release + "): "
                + (result.errors != null ? result.errors : result.differences));
          }
        }
      }
      String chars = source(service, classes.get(1));
      expect(faults, chars, "Java 8's chars", "append(flag ? '[' : '(')",
          "\"range \" + (flag ? ']' : ')')", "return flag ? 'A' : 'a';", "ac[1] = '☃';",
          "case 'a':", "case '\\n':", "case 'é':");
      expect(faults, source(service, classes.get(0)), "Java 17's chars",
          "(flag ? 'é' : '\\t')");
      String written = source(service, classes.get(2));
      expect(faults, written, "parameters",
          "void apply(String s1, int j, List<Written> list);", "int shadowing(int j, String s1) {",
          "Range(int i) {", "boolean visit(Written written, char[] ac);");
      expect(faults, written, "arrow arms", "case 0 ->", "case 7 ->", "default ->", "case 3 ->",
          "case 4 ->");
      expect(faults, written, "arms that break", "case 9:", "break;", "default:", "break;",
          "case 2:", "break;", "case 5:");
      expect(faults, written, "a string switch", "case \"zeta\":", "case \"alpha\":");
      String cfr = new String(service.decompile(BridgeOptions.CFR, classes.get(2)).bytes(),
          StandardCharsets.UTF_8);
      expect(faults, cfr, "CFR's parameters", "int shadowing(int j, String s1) {",
          "Pair(String left, String right) {", "Range(int i) {");
      String modern = source(service, classes.get(3));
      expect(faults, modern, "the demo", "case 0 ->", "case 3 ->", "case 4 ->", "default ->",
          "describe(List<Modern> list)", "Function<Modern, String> function = modern -> modern.name()",
          "main(String[] as)");
      for (String text : List.of(written, modern)) {
        if (ENGINES_NAME.matcher(text).find()) {
          faults.add("a name of Vineflower's own: " + text);
        }
      }
    }
    ServiceTests.check(faults.isEmpty(), String.join("\n\n", faults));
  }

  private static String source(RunningService service, ShownClass shown) throws Exception {
    ServiceClient.Answer answer =
        service.decompile(BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_PLAIN, shown);
    return new String(answer.bytes(), StandardCharsets.UTF_8);
  }

  private static void expect(List<String> faults, String source, String what, String... texts) {
    ServiceTests.expectInOrder(faults, what, source, texts);
  }
}
