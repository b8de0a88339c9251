package dravik.service;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import java.io.BufferedInputStream;
import java.io.BufferedOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.ArrayBlockingQueue;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.RejectedExecutionException;
import java.util.concurrent.ScheduledFuture;
import java.util.concurrent.ScheduledThreadPoolExecutor;
import java.util.concurrent.ThreadPoolExecutor;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.BooleanSupplier;

/**
 * The resident decompiler behind the Jad bridge: Vineflower and CFR kept running between requests,
 * so that a class costs its decompile alone and not a Java runtime's start as well.
 *
 * <pre>
 * java -Xmx&lt;heap&gt; -cp &lt;vineflower.jar, cfr.jar and this jar&gt;
 *      dravik.service.DecompileService --port-file PATH [--idle-seconds 600]
 *      [--read-timeout-seconds 10] [--request-limit-seconds 120] [--quiet-seconds 30]
 *      [--cache-megabytes 64]
 * </pre>
 *
 * Its secret comes as the first line of its standard input (Secret): the bridge makes it with the
 * system's random generator, and a command line is readable by other users. It listens on
 * 127.0.0.1 at a port the system picks, writes the port and the secret to the port file
 * (PortFile), and answers each connection with one decompiled class (Protocol has the
 * bytes on the wire). Two workers answer at once; further connections wait for one. A caller that
 * stops sending is dropped after the read timeout, one that stops reading after the request limit.
 * A request whose caller has gone (CallerWatch) is not decompiled, or its engine gives up.
 * A request for other settings (another runtime, heap or idle time: the bridge's settings key)
 * is refused, and the service ends: it gives up its port file at once, so that a service for the
 * new settings can start, and ends once the requests it has taken are answered.
 * The sources of recent requests are kept in memory (RecentSources), so a class viewed again is
 * answered without its engine. The quiet seconds after the last request, full collections give
 * the heap that the engines grew back to the system.
 * A decompile that runs past the request limit ends the whole service, since a thread stuck in
 * a decompiler cannot be stopped: the bridge falls back to its one-shot run and starts a new
 * service. After the idle limit without a request it ends. However it ends, short of being killed,
 * it removes its port file. Exit codes: 0 idle end, 1 an error, 2 bad arguments, 3 another service
 * owns the port file, 4 a request over its limit.
 */
public final class DecompileService {
  private static final int WORKERS = 2;
  private static final int WAITING_CONNECTIONS = 16;
  private static final long REFUSED_DRAIN_BYTES = 1 << 20;
  // The decompilers recurse deeply on long methods: the workers get more stack than a main one.
  private static final long WORKER_STACK_BYTES = 64L * 1024 * 1024;
  // A decompile grows the heap, and the collector gives it back only after a full collection: they
  // are made once no request has come for the quiet seconds (30 by default: a heap given back
  // makes the next class grow it again, at a second for a large class, and a user reads a class
  // for seconds before opening the next). The serial collector gives back none of the free heap
  // on the first of a row of full collections, a tenth on the second, 40 % on the third and all
  // it may on the fourth.
  private static final int QUIET_COLLECTIONS = 4;

  private final ServerSocket server;
  private final PortFile portFile;
  private final byte[] secret;
  private final ServiceSettings settings;
  private final ThreadPoolExecutor workers;
  private final ScheduledThreadPoolExecutor limits;
  private final RecentSources recent;
  private final ConcurrentHashMap<RequestKey, CompletableFuture<Engine.Source>> inFlight =
      new ConcurrentHashMap<>();
  private final AtomicInteger pending = new AtomicInteger();
  private volatile boolean requestCame;
  // Whether the heap may have grown since the last quiet collections.
  private volatile boolean heapGrown;
  // Whether a request for other settings came: the service then ends.
  private volatile boolean superseded;
  private final AtomicLong lastActivity = new AtomicLong(System.nanoTime());

  private DecompileService(
      ServerSocket server, PortFile portFile, byte[] secret, ServiceSettings settings) {
    this.server = server;
    this.portFile = portFile;
    this.secret = secret;
    this.settings = settings;
    this.workers = new ThreadPoolExecutor(WORKERS, WORKERS, 0, TimeUnit.MILLISECONDS,
        new ArrayBlockingQueue<Runnable>(WAITING_CONNECTIONS), DecompileService::newWorker);
    this.limits = new ScheduledThreadPoolExecutor(1, task -> daemon(new Thread(task, "limits")));
    this.limits.setRemoveOnCancelPolicy(true);
    this.recent = new RecentSources(settings.cacheBytes);
  }

  public static void main(String[] args) {
    ServiceSettings settings;
    try {
      settings = ServiceSettings.parse(args);
    } catch (IllegalArgumentException e) {
      System.err.println("dravik decompile service: " + e.getMessage());
      System.err.println("usage: DecompileService " + ServiceSettings.USAGE);
      System.exit(2);
      return;
    }
    byte[] secret;
    try {
      secret = Secret.read(System.in);
    } catch (IOException | IllegalArgumentException e) {
      System.err.println("dravik decompile service: " + e.getMessage());
      System.exit(2);
      return;
    }
    System.exit(run(settings, secret));
  }

  private static int run(ServiceSettings settings, byte[] secret) {
    PortFile portFile;
    try {
      portFile = PortFile.claim(settings.portFile);
    } catch (IOException | RuntimeException e) {
      System.err.println("dravik decompile service: " + e);
      return 1;
    }
    if (portFile == null) {
      System.err.println("dravik decompile service: another service owns " + settings.portFile);
      return 3;
    }
    // An end by System.exit (a request over its limit) or by a signal removes the port file too.
    Thread release = new Thread(portFile::closeQuietly, "release-port-file");
    Runtime.getRuntime().addShutdownHook(release);
    try (ServerSocket server = new ServerSocket()) {
      server.bind(
          new InetSocketAddress(InetAddress.getByName("127.0.0.1"), 0), WAITING_CONNECTIONS);
      portFile.publish(server.getLocalPort(), new String(secret, StandardCharsets.US_ASCII));
      DecompileService service = new DecompileService(server, portFile, secret, settings);
      WarmUp.startUnless(
          () -> service.requestCame, service::decompileHandedOver, service::collectWhenQuiet);
      service.serve();
      return 0;
    } catch (IOException | RuntimeException e) {
      System.err.println("dravik decompile service: " + e);
      return 1;
    } finally {
      portFile.closeQuietly();
    }
  }

  // The warm-up grew the heap too: it is given back once the service falls quiet.
  private void collectWhenQuiet() {
    lastActivity.set(System.nanoTime());
    heapGrown = true;
  }

  private static Thread newWorker(Runnable task) {
    return daemon(new Thread(null, task, "worker", WORKER_STACK_BYTES));
  }

  private static Thread daemon(Thread thread) {
    thread.setDaemon(true);
    return thread;
  }

  // Accepts until the idle limit has passed with no connection waiting or being answered, and
  // gives the heap back after each busy spell.
  private void serve() throws IOException {
    server.setSoTimeout((int) Math.max(10, Math.min(500, settings.idleMillis / 2)));
    long idleNanos = TimeUnit.MILLISECONDS.toNanos(settings.idleMillis);
    long quietNanos = TimeUnit.MILLISECONDS.toNanos(settings.quietMillis);
    while (true) {
      Socket connection;
      try {
        connection = server.accept();
      } catch (IOException e) {
        if (superseded) {
          break;
        }
        if (!(e instanceof SocketTimeoutException)) {
          throw e;
        }
        long quiet = System.nanoTime() - lastActivity.get();
        if (pending.get() == 0 && quiet >= idleNanos) {
          break;
        }
        if (pending.get() == 0 && quiet >= quietNanos && heapGrown) {
          heapGrown = false;
          for (int i = 0; i < QUIET_COLLECTIONS; i++) {
            System.gc();
          }
        }
        continue;
      }
      heapGrown = true;
      requestCame = true;
      pending.incrementAndGet();
      lastActivity.set(System.nanoTime());
      try {
        workers.execute(() -> answer(connection));
      } catch (RejectedExecutionException e) {
        finish(connection);
      }
    }
    workers.shutdown();
    if (superseded) {
      try {
        workers.awaitTermination(settings.requestLimitMillis, TimeUnit.MILLISECONDS);
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
      }
    }
    limits.shutdown();
  }

  // A request for other settings: this service gives up its port file and ends.
  private void supersede() {
    superseded = true;
    portFile.closeQuietly();
    try {
      server.close();
    } catch (IOException e) {
      // Closed already.
    }
  }

  private void answer(Socket connection) {
    try {
      connection.setSoTimeout((int) settings.readTimeoutMillis);
      connection.setTcpNoDelay(true);
      DataInputStream in =
          new DataInputStream(new BufferedInputStream(connection.getInputStream()));
      DataOutputStream out =
          new DataOutputStream(new BufferedOutputStream(connection.getOutputStream()));
      Protocol.Request request;
      try {
        request = Protocol.readRequest(in, secret);
      } catch (Protocol.Refusal refusal) {
        Protocol.writeText(out, Protocol.REFUSED, refusal.getMessage());
        // Closed with the caller's bytes unread, the connection would be reset, and the reset
        // can overtake the refusal: the caller is given its end first, and a little to send.
        connection.shutdownOutput();
        discardRest(in);
        return;
      }
      if (!request.settingsKey.equals(settings.settingsKey)) {
        Protocol.writeText(out, Protocol.REFUSED,
            "This service was started with other settings (another runtime, heap or idle time);"
                + " it ends now.");
        supersede();
        return;
      }
      answerRequest(request, CallerWatch.of(connection), connection, out);
    } catch (IOException e) {
      // The caller went away or stopped sending: there is no one left to answer.
    } finally {
      finish(connection);
    }
  }

  // Reads what the caller still sends, up to a bound, until it closes its end (or the read
  // timeout ends the wait).
  private static void discardRest(InputStream in) throws IOException {
    byte[] buffer = new byte[8192];
    for (long total = 0; total < REFUSED_DRAIN_BYTES;) {
      int n = in.read(buffer);
      if (n < 0) {
        return;
      }
      total += n;
    }
  }

  // The request limit covers the decompile and the answer: a caller that stops reading is
  // dropped, a decompile that does not end ends the service.
  private void answerRequest(Protocol.Request request, BooleanSupplier callerGone,
      Socket connection, DataOutputStream out) throws IOException {
    AtomicBoolean decompiling = new AtomicBoolean(true);
    ScheduledFuture<?> limit = limits.schedule(()
                                                   -> overLimit(decompiling.get(), connection),
        settings.requestLimitMillis, TimeUnit.MILLISECONDS);
    try {
      Engine.Source source;
      try {
        source = decompile(request, callerGone);
      } catch (Engine.Stopped stopped) {
        // Nobody to answer.
        decompiling.set(false);
        return;
      } catch (Engine.Failure failure) {
        decompiling.set(false);
        Protocol.writeText(out, Protocol.FAILED, failure.getMessage());
        return;
      } catch (RuntimeException | Error e) {
        // The engine's own faults on a class it cannot handle; the service stays up for the next.
        decompiling.set(false);
        Protocol.writeText(out, Protocol.FAILED, request.engine + " failed on this class: " + e);
        return;
      }
      decompiling.set(false);
      Protocol.writeSource(out, source.relativePath, source.bytes);
    } finally {
      limit.cancel(false);
    }
  }

  // The request's engine on its class and family, unless the same request was answered lately,
  // or is being decompiled now (the class handed over at the start, opened again at once): then
  // this one waits for that answer, and decompiles it itself if that one was given up.
  private Engine.Source decompile(Protocol.Request request, BooleanSupplier stopped)
      throws Engine.Failure {
    RequestKey key = RequestKey.of(request);
    CompletableFuture<Engine.Source> mine = new CompletableFuture<>();
    while (true) {
      Engine.Source source = recent.get(key);
      if (source != null) {
        return source;
      }
      if (stopped.getAsBoolean()) {
        throw new Engine.Stopped();
      }
      CompletableFuture<Engine.Source> running = inFlight.putIfAbsent(key, mine);
      if (running == null) {
        break;
      }
      try {
        return awaitOther(running);
      } catch (Engine.Stopped givenUp) {
        // Its caller went; this one still waits.
      }
    }
    try {
      ClassFamily family = ClassFamily.of(request.classBytes, request.members);
      Engine.Source source =
          Engines.named(request.engine).decompile(family, request.options, stopped);
      recent.put(key, source);
      mine.complete(source);
      return source;
    } catch (Engine.Failure | RuntimeException | Error e) {
      mine.completeExceptionally(e);
      throw e;
    } finally {
      inFlight.remove(key, mine);
    }
  }

  // The other decompile's answer, or its failure as this request's own.
  private static Engine.Source awaitOther(CompletableFuture<Engine.Source> running)
      throws Engine.Failure {
    try {
      return running.get();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      throw new Engine.Failure("Interrupted while the same class was being decompiled.");
    } catch (ExecutionException e) {
      Throwable cause = e.getCause();
      if (cause instanceof Engine.Failure) {
        throw (Engine.Failure) cause;
      }
      if (cause instanceof RuntimeException) {
        throw (RuntimeException) cause;
      }
      throw (Error) cause;
    }
  }

  // The bridge that started this service hands over, after the secret, the request it has just
  // answered with its one-shot run: decompiled now, it is ready when the user opens that class
  // again, and it warms the engine on the user's own kind of class. Nothing there, or anything
  // but a whole request with the secret, is passed over.
  private void decompileHandedOver() {
    Protocol.Request request;
    try {
      request = Protocol.readRequest(new DataInputStream(System.in), secret);
    } catch (IOException | Protocol.Refusal e) {
      return;
    }
    try {
      decompile(request, () -> false);
    } catch (Engine.Failure | RuntimeException | Error e) {
      // Its view came from the one-shot run; a request for it again gets the failure then.
    }
  }

  private void overLimit(boolean decompiling, Socket connection) {
    if (!decompiling) {
      finish(connection);
      return;
    }
    System.err.println("dravik decompile service: a decompile ran over its limit; ending.");
    System.exit(4);
  }

  // Closes the connection and counts it done, once, whoever comes first: the worker or the limit.
  private void finish(Socket connection) {
    synchronized (connection) {
      if (connection.isClosed()) {
        return;
      }
      try {
        connection.close();
      } catch (IOException e) {
        // Closing a socket that is gone already.
      }
    }
    lastActivity.set(System.nanoTime());
    pending.decrementAndGet();
  }
}
