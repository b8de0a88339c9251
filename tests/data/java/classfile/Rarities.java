// What the bytecode view meets in real classes, compiled by javac 17 for the
// comparison with javap: generic declarations, constants of every kind, both
// switches, lambdas and string concatenation, nested, local and anonymous
// classes, a record, a sealed hierarchy, an enum with a body, an interface
// with default, static and private methods, an annotation with a default.
package rare;

import java.io.IOException;
import java.util.AbstractList;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.RandomAccess;
import java.util.function.Supplier;

public class Rarities<T extends Comparable<T>> extends AbstractList<T> implements RandomAccess {
  static final long LONG = 3L;
  static final float FLOAT = 1.5f;
  static final double DOUBLE = 2.5e-10;
  volatile int counter;
  transient String text;
  Map<String, List<? super T>> map;
  Map.Entry<String, T>[] entries;

  public T get(int i) {
    return null;
  }

  public int size() {
    return 0;
  }

  public static <X extends Exception> void rethrow(X x) throws X, IOException {
    throw x;
  }

  static int table(int k) {
    switch (k) {
      case 1: return 10;
      case 2: return 20;
      case 3: return 30;
      default: return 0;
    }
  }

  static int lookup(int k) {
    switch (k) {
      case -5: return 1;
      case 1: return 10;
      case 100: return 20;
      case 10000: return 30;
      default: return 0;
    }
  }

  static String words(String s) {
    switch (s) {
      case "a": return "A";
      case "b": return "B";
      default: return "?";
    }
  }

  static int[][][] cube() {
    return new int[2][3][];
  }

  static String concat(String a, int b, char c) {
    return a + b + c + "\u0001\t\"'\\ Привет 世界 😀";
  }

  static double doubles(double x) {
    return x * 1e300 + 0.1 + Double.NaN + 1.0E7 + 1.0E-3 + 9.999e-4 + 100.0 + Double.MIN_VALUE;
  }

  static float floats(float x) {
    return x * 3.4e38f + 0.1f + 1.0E7f + 1.0E-3f + 123456.7f + Float.MIN_VALUE;
  }

  static long longs() {
    return 123456789012L + LONG + Long.MIN_VALUE;
  }

  static Runnable lambda() {
    return () -> System.out.println("hi");
  }

  static Supplier<List<String>> reference() {
    return ArrayList::new;
  }

  static synchronized native void varargs(int... xs);

  static void tryCatch() {
    try {
      lambda().run();
    } catch (IllegalStateException | IllegalArgumentException e) {
      e.printStackTrace();
    } finally {
      System.gc();
    }
  }

  static void lock(Object o) {
    synchronized (o) {
      o.hashCode();
    }
  }

  static void increments() {
    int i = 0;
    i += 1000;
    i += 100;
    System.out.println(i);
  }

  static Object local() {
    class Local {}
    return new Object() {
      @Override
      public String toString() {
        return new Local().toString();
      }
    };
  }

  class Inner {}

  enum Planet {
    MERCURY,
    VENUS {
      @Override
      public String toString() {
        return "Venus";
      }
    }
  }

  interface Shapes {
    default void draw() {}

    static void all() {}

    private void helper() {}

    void area();
  }

  @interface Tag {
    int value() default 1;

    String[] names() default {"a", "b"};
  }

  record Point<N extends Number>(int x, N y, long... rest) implements Comparable<Point<N>> {
    public int compareTo(Point<N> other) {
      return 0;
    }
  }

  sealed interface Shape permits Circle, Square {}

  static final class Circle implements Shape {}

  static non-sealed class Square implements Shape {}
}
