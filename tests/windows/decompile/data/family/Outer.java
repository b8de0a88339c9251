package family;

import java.util.function.IntSupplier;

// Every kind of class that javac writes into a file of its own beside its outer
// class; the lambda is the one that gets none. The decompiler run must bring
// them all beside the file it is given.
public class Outer {
  class Member { // Outer$Member
    class Deeper {} // Outer$Member$Deeper
  }

  static class Nested {} // Outer$Nested

  enum Kind { // Outer$Kind
    PLAIN,
    SPECIAL { // Outer$Kind$1
      @Override
      int weight() {
        return 2;
      }
    };

    int weight() {
      return 1;
    }
  }

  Runnable anonymous() {
    return new Runnable() { // Outer$1
      @Override
      public void run() {}
    };
  }

  Object local() {
    class Local {} // Outer$1Local
    return new Local();
  }

  IntSupplier lambda() {
    return () -> 42;
  }
}
