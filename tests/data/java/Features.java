package demo;

import java.util.ArrayList;
import java.util.List;
import java.util.function.Supplier;

/** Java 17 forms in one class: records, a sealed interface, switch expressions, a text block. */
public class Features {
  /** A shape is one of three records, and nothing else. */
  sealed interface Shape permits Circle, Square, Rectangle {}

  record Circle(double radius) implements Shape {}

  record Square(double side) implements Shape {}

  record Rectangle(double width, double height) implements Shape {
    boolean isSquare() {
      return width == height;
    }
  }

  enum Planet {
    MERCURY(3.303e+23) {
      @Override
      String greeting() {
        return "closest to the sun";
      }
    },
    EARTH(5.976e+24);

    final double mass;

    Planet(double mass) {
      this.mass = mass;
    }

    String greeting() {
      return "hello from " + name().toLowerCase();
    }
  }

  static final String USAGE = """
      Usage: features [--verbose] SHAPE...
        SHAPE is circle:R, square:S or rect:WxH, "quoted" or not
      """;

  static double area(Shape shape) {
    if (shape instanceof Circle circle) {
      return Math.PI * circle.radius() * circle.radius();
    }
    if (shape instanceof Square square && square.side() > 0) {
      return square.side() * square.side();
    }
    return shape instanceof Rectangle rectangle ? rectangle.width() * rectangle.height() : 0;
  }

  static int sides(String kind) {
    return switch (kind) {
      case "circle" -> 0;
      case "square", "rectangle" -> 4;
      default -> {
        int guess = kind.length() % 7;
        yield guess < 3 ? 3 : guess;
      }
    };
  }

  static String size(Shape shape) {
    double area = area(shape);
    return switch ((int) Math.signum(area - 10)) {
      case -1 -> "small";
      case 0 -> "just ten";
      default -> {
        String word = area > 100 ? "huge" : "large";
        yield word + " (" + area + ")";
      }
    };
  }

  static List<String> labels(List<Shape> shapes) {
    class Label {
      final String prefix;

      Label(String prefix) {
        this.prefix = prefix;
      }

      String of(Shape shape) {
        String kind = shape.getClass().getSimpleName().toLowerCase();
        return prefix + kind + ", " + size(shape) + ", " + sides(kind) + " sides";
      }
    }
    Label label = new Label("shape: ");
    List<String> result = new ArrayList<>();
    shapes.forEach(shape -> result.add(label.of(shape)));
    Supplier<Label> again = () -> new Label("again: ");
    result.add(again.get().of(new Circle(1)));
    return result;
  }

  public static void main(String[] args) {
    System.out.print(USAGE);
    labels(List.of(new Circle(2), new Square(4), new Rectangle(2, 30))).forEach(System.out::println);
    for (Planet planet : Planet.values()) {
      System.out.println(planet.greeting() + " weighs " + planet.mass);
    }
  }
}
