package service;

/** Java 17 forms and text beyond ASCII, for comparing the service with the engines' command lines. */
public record Greeting(String name) {
  static final String HELLO = "Grüße aus Tōkyō, Привет, 世界 😀";

  String text(int kind) {
    return switch (kind) {
      case 0 -> HELLO;
      case 1 -> "¡hola, " + name + "!";
      default -> name;
    };
  }
}
