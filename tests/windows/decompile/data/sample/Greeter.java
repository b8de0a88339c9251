package sample;

// Decompiled by the bridge in the end-to-end test; its fake stand-in only reads
// the class name from the compiled file.
public class Greeter {
  private final String name;

  public Greeter(String name) {
    this.name = name;
  }

  public String greet(int times) {
    StringBuilder text = new StringBuilder();
    for (int i = 0; i < times; i++) {
      text.append("Hello, ").append(name).append('\n');
    }
    return text.toString();
  }
}
