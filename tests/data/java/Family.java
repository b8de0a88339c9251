package demo;

import java.util.function.IntSupplier;

/** Nested classes of every kind, for requests that bring a class's family along. */
public class Family {
  private int count = 3;

  class Member {
    class Deeper {
      int total() {
        return count * 2;
      }
    }

    Deeper deeper() {
      return new Deeper();
    }
  }

  static class Nested {
    static String name() {
      return "nested";
    }
  }

  enum Mode {
    PLAIN,
    LOUD {
      @Override
      String apply(String text) {
        return text.toUpperCase() + "!";
      }
    };

    String apply(String text) {
      return text;
    }
  }

  Runnable anonymous() {
    return new Runnable() {
      @Override
      public void run() {
        count++;
      }
    };
  }

  int local(int base) {
    class Counter {
      int next() {
        return base + count;
      }
    }
    return new Counter().next();
  }

  IntSupplier lambda() {
    return () -> count + new Member().deeper().total();
  }
}
