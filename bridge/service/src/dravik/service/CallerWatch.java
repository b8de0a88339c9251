package dravik.service;

import java.io.IOException;
import java.io.InputStream;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.RejectedExecutionException;
import java.util.function.BooleanSupplier;

/**
 * Whether the caller of a connection has gone: the bridge sends nothing after its request, so a
 * read of the connection ends only when the bridge closes its end (the plugin stopped it, its
 * time ran out, it was ended) or when the service closes the connection after its answer. A
 * thread of its own reads, so that the caller's going is known at once, while the engine works.
 */
final class CallerWatch implements BooleanSupplier {
  private static final ExecutorService READERS = Executors.newCachedThreadPool(task -> {
    Thread thread = new Thread(task, "caller-watch");
    thread.setDaemon(true);
    return thread;
  });

  private volatile boolean gone;

  private CallerWatch() {}

  /**
   * Watches the connection, whose request has been read in full, until it closes. A caller that
   * left while its request waited for a worker is known gone on return.
   */
  static CallerWatch of(Socket connection) {
    CallerWatch watch = new CallerWatch();
    try {
      InputStream in = connection.getInputStream();
      connection.setSoTimeout(1);
      try {
        if (in.read() < 0) {
          watch.gone = true;
          return watch;
        }
      } catch (SocketTimeoutException e) {
        // Still there.
      }
      connection.setSoTimeout(0);
      READERS.execute(() -> watch.readUntilClosed(in));
    } catch (IOException e) {
      watch.gone = true;
    } catch (RejectedExecutionException e) {
      // Not watched: the decompile runs to its end, as if the caller still waited.
    }
    return watch;
  }

  @Override
  public boolean getAsBoolean() {
    return gone;
  }

  private void readUntilClosed(InputStream in) {
    byte[] buffer = new byte[256];
    try {
      while (in.read(buffer) >= 0) {
        // Bytes after the request mean nothing; only the end counts.
      }
    } catch (IOException e) {
      // Reset by the caller, or closed by the service: either way, nobody reads an answer here.
    }
    gone = true;
  }
}
