package service;

/** Statements on lines of their own, and one over two lines, for the original line numbers. */
public class Lines {
  static String log(String text) {
    return text;
  }

  static int count(String text) {
    int total = 0;
    for (int i = 0; i < text.length(); i++) {
      if (text.charAt(i) == 'x') {
        log("x found");
        total++;
      }
    }
    log("counted");
    String both = log(
        log("two lines"));
    return total + both.length();
  }
}
