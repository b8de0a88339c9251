package dravik.service.engine;

import java.util.List;
import java.util.Map;

/**
 * Original line numbers in a column at the left, laid out as Jad's -lnc output is: a line that
 * carries one begins with a comment of fixed width holding it right-aligned ("/*", the number in
 * four places, wider when the class has numbers past 9999, and "*" "/": "/*  16*" "/" for line 16),
 * every other line with as many blanks, so that the code's own indentation lines up after the
 * column and copied text still compiles. An empty line stays empty. A line that begins inside a
 * block comment or a text block gets blanks only: there a comment would end the one around it, or
 * be part of the string.
 */
public final class LineColumn {
  /** The option that asks for the column, as Jad's command line names it. */
  public static final String OPTION = "-lnc";

  private LineColumn() {}

  /** Whether the options ask for the column. */
  public static boolean asked(List<String> options) {
    return options.contains(OPTION);
  }

  /** The options without the column's, for the engine's own parser. */
  public static List<String> enginesOptions(List<String> options) {
    return ServiceOptions.without(options, OPTION);
  }

  /**
   * text with the column: numbers maps a line of text (1 for the first) to its original line
   * number; a line missing from it has none.
   */
  public static String of(String text, Map<Integer, Integer> numbers) {
    int digits = 4;
    for (int number : numbers.values()) {
      digits = Math.max(digits, Integer.toString(number).length());
    }
    StringBuilder blanks = new StringBuilder();
    for (int i = 0; i < digits + 4; i++) {
      blanks.append(' ');
    }
    StringBuilder out = new StringBuilder(text.length() + text.length() / 4);
    Scanner scanner = new Scanner();
    int line = 1;
    for (int start = 0; start <= text.length(); line++) {
      int end = text.indexOf('\n', start);
      end = end < 0 ? text.length() : end + 1;
      String content = text.substring(start, end);
      boolean inside = scanner.insideAtLineStart();
      Integer number = numbers.get(line);
      if (number != null && !inside) {
        String digitsText = Integer.toString(number);
        out.append("/*").append(blanks, 0, digits - digitsText.length()).append(digitsText);
        out.append("*/");
      } else if (!isEmpty(content)) {
        out.append(blanks);
      }
      out.append(content);
      scanner.scan(content);
      if (end == text.length()) {
        break;
      }
      start = end;
    }
    return out.toString();
  }

  private static boolean isEmpty(String line) {
    return line.isEmpty() || line.equals("\n") || line.equals("\r\n");
  }

  /** Where Java text is at each line's start: in code, a block comment or a text block. */
  private static final class Scanner {
    private static final int CODE = 0;
    private static final int BLOCK_COMMENT = 1;
    private static final int TEXT_BLOCK = 2;

    private int state = CODE;

    boolean insideAtLineStart() {
      return state != CODE;
    }

    // A line comment, a string or a char literal ends with its line; only the two others go on.
    void scan(String line) {
      for (int i = 0; i < line.length(); i++) {
        char c = line.charAt(i);
        if (state == BLOCK_COMMENT) {
          if (line.startsWith("*/", i)) {
            state = CODE;
            i++;
          }
        } else if (state == TEXT_BLOCK) {
          if (c == '\\') {
            i++;
          } else if (line.startsWith("\"\"\"", i)) {
            state = CODE;
            i += 2;
          }
        } else if (line.startsWith("//", i)) {
          return;
        } else if (line.startsWith("/*", i)) {
          state = BLOCK_COMMENT;
          i++;
        } else if (line.startsWith("\"\"\"", i)) {
          state = TEXT_BLOCK;
          i += 2;
        } else if (c == '"' || c == '\'') {
          i = JavaLiterals.end(line, i);
        }
      }
    }
  }
}
