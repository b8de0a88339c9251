package dravik.service.engine;

import java.util.List;

/**
 * A decompiler run in this process: a class with its family and the engine's own command-line
 * options in, the file its command line would write for that class out, byte for byte.
 */
public interface Engine {
  Source decompile(ClassFamily family, List<String> options) throws Failure;

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
  final class Failure extends Exception {
    private static final long serialVersionUID = 1L;

    public Failure(String message) {
      super(message);
    }
  }
}
