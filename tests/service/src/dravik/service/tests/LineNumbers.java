package dravik.service.tests;

import dravik.service.engine.LineColumn;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * The original line numbers in a column at the left (-lnc): the column itself on a table of texts,
 * then both engines on service/Lines through the service and the one-shot run: the same source
 * both ways, numbers only from the class's line number table (javap -l), each marked statement
 * under the number of its line in Lines.java (a statement over two lines under the first), and
 * the rest of each line the engine's source without the column.
 */
final class LineNumbers {
  private static final Pattern NUMBERED = Pattern.compile("^/\\* *(\\d+)\\*/");
  private static final Pattern TABLE_ENTRY = Pattern.compile("^\\s+line (\\d+): \\d+$");

  private LineNumbers() {}

  static void run(Path folder) throws Exception {
    column();
    List<String> source = Files.readAllLines(
        Paths.get(System.getProperty("dravik.java.sources"), "Lines.java"), StandardCharsets.UTF_8);
    ShownClass lines = ShownClass.compiled("service/Lines");
    Set<Integer> table = new TreeSet<>();
    for (String line : NamesAndCasts.javap(lines.bytes())) {
      Matcher entry = TABLE_ENTRY.matcher(line);
      if (entry.matches()) {
        table.add(Integer.parseInt(entry.group(1)));
      }
    }
    try (RunningService service = RunningService.start(folder)) {
      for (String engine : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR)) {
        List<String> options = BridgeOptions.of(engine);
        ServiceClient.Answer answer = service.decompile(engine, options, lines);
        ServiceTests.check(answer.status() == ServiceClient.SOURCE, engine + ": " + answer.text());
        String text = new String(answer.bytes(), StandardCharsets.UTF_8);
        OneShot oneShot =
            OneShot.run(Files.createTempDirectory(folder, "one-shot"), engine, lines, options);
        ServiceTests.check(new String(oneShot.bytes(), StandardCharsets.UTF_8).equals(text),
            engine + ": the one-shot run's column differs from the service's:\n" + text);
        for (String[] marked :
            new String[][] {{"charAt(", "charAt("}, {"\"x found\"", "\"x found\""},
                {"\"counted\"", "\"counted\""}, {"\"two lines\"", "String both = log("}}) {
          int expected = lineOf(source, marked[1]);
          ServiceTests.check(numberOf(text, marked[0]) == expected,
              engine + ": the line of " + marked[0] + " is not numbered " + expected + ":\n"
                  + text);
        }
        Set<Integer> shown = new TreeSet<>();
        for (String line : text.split("\n")) {
          Matcher number = NUMBERED.matcher(line);
          if (number.find()) {
            shown.add(Integer.parseInt(number.group(1)));
          }
        }
        ServiceTests.check(table.containsAll(shown),
            engine + ": numbers " + shown + " where javap -l lists " + table);
        ServiceClient.Answer plain =
            service.decompile(engine, BridgeOptions.without(options, LineColumn.OPTION), lines);
        ServiceTests.check(
            withoutColumn(text).equals(new String(plain.bytes(), StandardCharsets.UTF_8)),
            engine + ": the column changed more than the lines' starts:\n" + text);
      }
    }
  }

  // The column on texts: widths, lines without a number, empty lines, numbers past 9999, CR LF,
  // tabs, and lines that begin inside a comment or a text block or after text that only looks
  // like the start of one.
  private static void column() {
    Object[][] table = {
        {"a\n  b\n\nc", Map.of(1, 5, 2, 16), "/*   5*/a\n/*  16*/  b\n\n        c"},
        {"a\nb\n", Map.of(1, 12345, 2, 7), "/*12345*/a\n/*    7*/b\n"},
        {"a\r\n\r\nb\r\n", Map.of(3, 9999), "        a\r\n\r\n/*9999*/b\r\n"},
        {"\tx\n\ty", Map.of(1, 3), "/*   3*/\tx\n        \ty"},
        {"", Map.of(), ""},
        {"/*\n * 4\n */\nx();", Map.of(2, 4, 4, 6),
            "        /*\n         * 4\n         */\n/*   6*/x();"},
        {"s = \"\"\"\n  a\n  \"\"\";\nt();", Map.of(1, 1, 3, 2, 4, 3),
            "/*   1*/s = \"\"\"\n          a\n          \"\"\";\n/*   3*/t();"},
        {"x(); // /* no comment\ny(\"/*\", '\"', \"\\\"\\\"\\\"\");\nz();", Map.of(2, 2, 3, 3),
            "        x(); // /* no comment\n/*   2*/y(\"/*\", '\"', \"\\\"\\\"\\\"\");\n/*   3*/z();"},
    };
    for (Object[] row : table) {
      @SuppressWarnings("unchecked") Map<Integer, Integer> numbers = (Map<Integer, Integer>) row[1];
      String shown = LineColumn.of((String) row[0], numbers);
      ServiceTests.check(shown.equals(row[2]),
          "the column on \"" + row[0] + "\" with " + numbers + ":\n" + shown + "\nnot\n" + row[2]);
    }
  }

  private static int lineOf(List<String> source, String text) {
    for (int i = 0; i < source.size(); i++) {
      if (source.get(i).contains(text)) {
        return i + 1;
      }
    }
    throw new AssertionError(text + " is not in Lines.java");
  }

  // The number in the column of the line that holds text, or 0.
  private static int numberOf(String source, String text) {
    for (String line : source.split("\n")) {
      Matcher number = NUMBERED.matcher(line);
      if (line.contains(text)) {
        return number.find() ? Integer.parseInt(number.group(1)) : 0;
      }
    }
    return 0;
  }

  private static String withoutColumn(String source) {
    StringBuilder plain = new StringBuilder();
    for (String line : source.split("\n", -1)) {
      plain.append(line.isEmpty() ? line : line.substring(8)).append('\n');
    }
    return plain.substring(0, plain.length() - 1);
  }
}
