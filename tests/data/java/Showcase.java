package demo;

import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.function.Function;

/**
 * A small class that uses most of what the viewer colours:
 * generics, an enum, a lambda, string and char literals and comments.
 */
public class Showcase<T extends Comparable<T>> {
  /** The planets, for an enum with a field and a constructor. */
  public enum Planet {
    MERCURY(0.38), VENUS(0.91), EARTH(1.0);

    private final double gravity;

    Planet(double gravity) {
      this.gravity = gravity;
    }

    public double weigh(double kilograms) {
      return kilograms * gravity;
    }
  }

  private final List<T> items = new ArrayList<>();
  private static final char SEPARATOR = ';';

  public void add(T item) {
    // Keep the list sorted as items arrive.
    int at = 0;
    while (at < items.size() && items.get(at).compareTo(item) < 0) {
      at++;
    }
    items.add(at, item);
  }

  public String join() {
    StringBuilder out = new StringBuilder("items: ");
    for (int i = 0; i < items.size(); i++) {
      if (i > 0) {
        out.append(SEPARATOR).append(' ');
      }
      out.append(items.get(i));
    }
    return out.toString();
  }

  public static Map<String, Integer> lengths(List<String> words) {
    Function<String, Integer> length = word -> word.length();
    Map<String, Integer> result = new TreeMap<>();
    for (String word : words) {
      result.put(word, length.apply(word));
    }
    return result;
  }

  public static void main(String[] args) {
    Showcase<String> show = new Showcase<>();
    show.add("pear");
    show.add("apple");
    System.out.println(show.join() + " \"sorted\"");
    for (Planet p : Planet.values()) {
      System.out.println(p + ": " + p.weigh(70.0));
    }
    System.out.println(lengths(java.util.Arrays.asList("one", "three")));
  }
}
