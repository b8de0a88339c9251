package service;

import java.util.List;
import java.util.function.BiFunction;

/**
 * Parameters without names in the class file (compiled without -g or -parameters), switches whose
 * arms Vineflower orders by their values, and a record's constructors.
 */
public abstract class Written {
  // Fields a parameter's name from its type would hide.
  protected int i;
  protected String s;

  public abstract void apply(String text, int count, List<Written> items);

  interface Visitor {
    boolean visit(Written written, char[] marks);
  }

  record Range(int low, int high) {
    Range {
      if (low > high) {
        throw new IllegalArgumentException("low " + low + " above high " + high);
      }
    }

    Range(int only) {
      this(only, only);
    }
  }

  record Pair(String left, String right) {
    Pair(String left, String right) {
      this.left = left.trim();
      this.right = right;
    }
  }

  int shadowing(int count, String text) {
    i += count;
    return text.length() + s.length() + i;
  }

  static BiFunction<String, Integer, String> lambdas(int times) {
    return (text, count) -> text.repeat(count * times);
  }

  static String arrows(int sides) {
    return switch (sides) {
      case 0 -> "circle";
      case 7 -> "heptagon";
      default -> sides + "-gon";
      case 3 -> "triangle";
      case 4 -> {
        String square = "square";
        yield square + " or rectangle";
      }
    };
  }

  static void breaks(int code, StringBuilder out) {
    switch (code) {
      case 9:
        out.append("nine");
        break;
      default:
        out.append("other");
        break;
      case 2:
        out.append("two");
        break;
      case 5:
        out.append("five");
    }
  }

  static int fallsThrough(int code) {
    int result = 0;
    switch (code) {
      case 8:
        result += 8;
      case 1:
        result += 1;
        break;
      default:
        result = -1;
    }
    return result;
  }

  static String words(String word) {
    switch (word) {
      case "zeta":
        return "last";
      case "alpha":
        return "first";
      default:
        return "other";
    }
  }
}
