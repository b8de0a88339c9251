package service;

/** Constants of type char in the places a source can have them. */
public class Chars {
  private char mark = '*';
  private static final char[] BRACKETS = {'[', '(', '\u00e9', '\0'};

  static String ternaries(boolean closed, StringBuilder builder) {
    builder.append(closed ? '[' : '(').append(',').append(closed ? '\u00e9' : '\n');
    return "range " + (closed ? ']' : ')') + '|' + (closed ? '\u00e9' : '\t');
  }

  static char returned(boolean upper) {
    return upper ? 'A' : 'a';
  }

  void assigned(boolean star, char[] chars) {
    mark = star ? '*' : '\u00e9';
    chars[0] = star ? '+' : '-';
    chars[1] = '\u2603';
    char local = star ? 'x' : 'y';
    local += 'z';
    mark += (char) 1;
    String text = "";
    text += 'q';
    text += star ? 'r' : 's';
    take(local, text);
  }

  static void take(char c, String text) {
    Character boxed = 'b';
    Character.isLetter(text.isEmpty() ? 'e' : '\u0000');
    System.out.println(boxed + " " + (c == 'c' ? 'd' : '\u00e9'));
  }

  static int labels(char c) {
    switch (c) {
      case 'a':
        return 1;
      case '\n':
        return 2;
      case '\u00e9':
        return 3;
      default:
        return c == '\u00e9' || c < ' ' ? 4 : 5;
    }
  }
}
