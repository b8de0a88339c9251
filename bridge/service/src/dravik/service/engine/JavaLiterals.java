package dravik.service.engine;

/** Java's string and character literals in a line of source, as the engines write them. */
final class JavaLiterals {
  private JavaLiterals() {}

  /** The index of the quote that ends the literal opened at open, or the line's end. */
  static int end(String line, int open) {
    char quote = line.charAt(open);
    for (int i = open + 1; i < line.length(); i++) {
      char c = line.charAt(i);
      if (c == '\\') {
        i++;
      } else if (c == quote) {
        return i;
      }
    }
    return line.length();
  }
}
