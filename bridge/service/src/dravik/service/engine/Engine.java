package dravik.service.engine;

import java.util.List;
import java.util.function.BooleanSupplier;

/**
 * A decompiler run in this process: a class with its family and the engine's own command-line
 * options in, the file its command line would write for that class out, byte for byte.
 */
public interface Engine {
  /**
   * The source; once stopped says that nobody waits for it any more, the engine gives up as soon
   * as it can, with Stopped.
   */
  Source decompile(ClassFamily family, List<String> options, BooleanSupplier stopped)
      throws Failure;

  /** The source for a caller that waits for it whatever it takes. */
  default Source decompile(ClassFamily family, List<String> options) throws Failure {
    return decompile(family, options, () -> false);
  }

  /** What the command line would write: the path under its output folder, and the file's bytes. */
  final class Source {
    public final String relativePath;
    public final byte[] bytes;

    public Source(String relativePath, byte[] bytes) {
      this.relativePath = relativePath;
      this.bytes = bytes;
    }
  }

  /** A request the service cannot answer with source; the message says why. */
  class Failure extends Exception {
    private static final long serialVersionUID = 1L;

    public Failure(String message) {
      super(message);
    }
  }

  /** A decompile given up because nobody waits for its source any more. */
  final class Stopped extends Failure {
    private static final long serialVersionUID = 1L;

    public Stopped() {
      super("Stopped: nobody waits for this source any more.");
    }
  }
}
