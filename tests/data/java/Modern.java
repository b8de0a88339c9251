package demo;

import java.util.List;
import java.util.function.Function;

/** A Java 17 record with a switch expression, a text block and a lambda. */
public record Modern(String name, int sides) {
    enum Unit { CM, INCH }

    static final String BANNER = """
        Shapes: Привет, 世界 😀
        one text block
        """;

    public String kind() {
        return switch (sides) {
            case 0 -> "circle";
            case 3 -> "triangle";
            case 4 -> {
                String square = "square";
                yield square + " or rectangle";
            }
            default -> sides + "-gon";
        };
    }

    public static List<String> describe(List<Modern> shapes) {
        Function<Modern, String> label = shape -> shape.name() + " is a " + shape.kind();
        return shapes.stream().map(label).toList();
    }

    public static void main(String[] args) {
        System.out.print(BANNER);
        describe(List.of(new Modern("sun", 0), new Modern("sail", 3))).forEach(System.out::println);
        Runnable done = new Runnable() {
            public void run() {
                System.out.println("done in " + Unit.CM);
            }
        };
        done.run();
    }
}
