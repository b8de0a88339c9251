package service;

import java.nio.ByteBuffer;
import java.util.function.IntSupplier;

/**
 * Locals of every kind, compiled with their table (-g) and without, for the names the service
 * gives them; and calls of methods that Java 9 overrode with a narrower return type, compiled for
 * Java 8, whose casts the source must keep.
 */
public class Locals {
  static final class Circle {
    final int radius;

    Circle(int radius) {
      this.radius = radius;
    }
  }

  // Fields that the names of locals of their types would hide.
  private final Circle circle = new Circle(1);
  private static int i = 3;

  int area(int size) {
    Circle first = new Circle(size);
    Circle second = new Circle(size + 1);
    int total = first.radius * second.radius;
    for (int k = 0; k < size; k++) {
      total += k * i;
    }
    Circle[] circles = {first, second};
    String label = "area" + circles.length;
    boolean big = total > 100;
    return big ? total : label.length() + circle.radius;
  }

  int lambda(int n) {
    int base = n * 2;
    IntSupplier inner = () -> {
      int step = base + 1;
      return step * step;
    };
    return inner.getAsInt();
  }

  static int buffers(byte[] bytes) {
    ByteBuffer buffer = ByteBuffer.wrap(bytes);
    buffer.position(1);
    buffer.flip();
    buffer.rewind();
    buffer.limit(1);
    return buffer.remaining();
  }
}
