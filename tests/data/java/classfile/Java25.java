// Class version 69: a pattern switch over a sealed interface whose case
// labels are enum constants (javac 25 writes them as dynamic constants among
// the switch's bootstrap arguments), and a record pattern.
package rare;

public class Java25 {
  sealed interface Thing permits Colour, Box {}

  enum Colour implements Thing { RED, GREEN }

  record Box(int size) implements Thing {}

  static int weigh(Thing thing) {
    return switch (thing) {
      case Colour.RED -> 1;
      case Colour.GREEN -> 2;
      case Box(int size) when size > 3 -> size;
      case Box b -> 0;
    };
  }
}
