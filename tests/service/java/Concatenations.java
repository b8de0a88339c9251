package service;

/** String concatenations as javac 17 compiles them: invokedynamic with a recipe of constants. */
public class Concatenations {
  static final String PREFIX = "item";

  static String bracketed(int k) {
    return "[" + k + "]";
  }

  static String grade(char grade, String name) {
    return name + " has grade " + grade + ", not " + 'Z';
  }

  static String identifier(long id) {
    return "id=" + id + "L";
  }

  static String nested(int x, Object y) {
    return String.join("/", "x=" + x + ",y=" + y, "[" + (x + 1) + "]" + y, "end");
  }

  static String constants(int n) {
    return PREFIX + "-" + "part" + n + ('#' + "" + 2) + PREFIX.length();
  }
}
