package dravik.service.tests;

import java.io.File;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.security.SecureRandom;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.TimeUnit;

/**
 * A decompile service started for a test, as the bridge starts it: its own Java runtime, the
 * engines' jars and the service's jar on the class path, and a port file in the given folder.
 */
final class RunningService implements AutoCloseable {
  static final String JAVA = System.getProperty("dravik.java", "java");
  /**
   * How the bridge is to start the service (bridge/service/README.md): a heap that starts small,
   * grows to a bound and is given back, the serial collector, two compiler threads, and UTF-8 as
   * the default charset, as for its one-shot run.
   * The benchmark compares others through -Ddravik.service.jvm="OPTIONS | OPTIONS".
   */
  static final List<String> JVM_OPTIONS = Arrays.asList(
      System
          .getProperty("dravik.service.jvm",
              "-Xms16m -Xmx256m -XX:+UseSerialGC -XX:NewRatio=1 -XX:MinHeapFreeRatio=20"
                  + " -XX:MaxHeapFreeRatio=40 -XX:CICompilerCount=2 -XX:-UsePerfData"
                  + " -Dfile.encoding=UTF-8")
          .trim()
          .split("\\s+"));
  static final String SERVICE_JAR = System.getProperty("dravik.service.jar");
  private static final long START_LIMIT_SECONDS = 60;

  final Path portFile;
  final Process process;
  // What the port file held before this service started: a stale file is not this service's.
  private final String before;
  int port;
  String secret;

  private RunningService(Path portFile, Process process, String before) {
    this.portFile = portFile;
    this.process = process;
    this.before = before;
  }

  /** Starts a service and waits for its port file; settings are the service's own arguments. */
  static RunningService start(Path folder, String... settings) throws Exception {
    return startWith(JVM_OPTIONS, folder, settings);
  }

  static RunningService startWith(List<String> jvmOptions, Path folder, String... settings)
      throws Exception {
    return startWith(jvmOptions, List.of(), folder, settings);
  }

  /** With these folders or jars first on the service's class path, where they hide its own. */
  static RunningService startWith(List<String> jvmOptions, List<String> classPathFirst, Path folder,
      String... settings) throws Exception {
    RunningService service = launch(jvmOptions, classPathFirst, newSecret() + "\n", folder, settings);
    service.awaitPortFile();
    return service;
  }

  /**
   * Starts a service as the bridge does after a one-shot run: its secret, then the request just
   * answered, on its standard input.
   */
  static RunningService startHandingOver(List<String> classPathFirst, String engine,
      List<String> options, ShownClass shown, Path folder) throws Exception {
    String secret = newSecret();
    byte[] request = ServiceClient.request(secret, engine, options, shown);
    RunningService service = launch(JVM_OPTIONS, classPathFirst,
        secret + "\n" + new String(request, StandardCharsets.ISO_8859_1), folder);
    service.awaitPortFile();
    return service;
  }

  /** Starts a service and leaves it to the caller to see what it does. */
  static RunningService launch(List<String> jvmOptions, Path folder, String... settings)
      throws IOException {
    return launch(jvmOptions, List.of(), newSecret() + "\n", folder, settings);
  }

  /** With this text on its standard input in place of a secret. */
  static RunningService launchWithInput(String input, Path folder) throws IOException {
    return launch(JVM_OPTIONS, List.of(), input, folder);
  }

  private static RunningService launch(List<String> jvmOptions, List<String> classPathFirst,
      String input, Path folder, String... settings) throws IOException {
    Path portFile = folder.resolve("service.port");
    String before = Files.exists(portFile) ? read(portFile) : "";
    List<String> command = new ArrayList<>();
    command.add(JAVA);
    command.addAll(jvmOptions);
    List<String> classPath = new ArrayList<>(classPathFirst);
    classPath.addAll(List.of(OneShot.VINEFLOWER_JAR, OneShot.CFR_JAR, SERVICE_JAR));
    command.addAll(Arrays.asList("-cp", String.join(File.pathSeparator, classPath),
        "dravik.service.DecompileService", "--port-file", portFile.toString()));
    command.addAll(Arrays.asList(settings));
    Process process = new ProcessBuilder(command)
                          .redirectOutput(ProcessBuilder.Redirect.INHERIT)
                          .redirectError(ProcessBuilder.Redirect.INHERIT)
                          .start();
    // The secret on its standard input, as the bridge hands it over.
    try (OutputStream in = process.getOutputStream()) {
      in.write(input.getBytes(StandardCharsets.ISO_8859_1));
    }
    return new RunningService(portFile, process, before);
  }

  // 32 hex digits, as the bridge makes them.
  private static String newSecret() {
    byte[] random = new byte[16];
    new SecureRandom().nextBytes(random);
    StringBuilder secret = new StringBuilder();
    for (byte b : random) {
      secret.append(String.format("%02x", b & 0xFF));
    }
    return secret.toString();
  }

  void awaitPortFile() throws Exception {
    long end = System.nanoTime() + TimeUnit.SECONDS.toNanos(START_LIMIT_SECONDS);
    while (!Files.exists(portFile) || portFileContent().equals(before)) {
      ServiceTests.check(process.isAlive(), "the service ended before writing its port file");
      ServiceTests.check(
          System.nanoTime() < end, "no port file after " + START_LIMIT_SECONDS + " s");
      Thread.sleep(20);
    }
    String[] fields = portFileContent().trim().split(" ");
    port = Integer.parseInt(fields[0]);
    secret = fields[1];
  }

  String portFileContent() throws IOException {
    return read(portFile);
  }

  private static String read(Path file) throws IOException {
    return new String(Files.readAllBytes(file), StandardCharsets.US_ASCII);
  }

  ServiceClient.Answer decompile(String engine, List<String> options, ShownClass shown)
      throws IOException {
    return ServiceClient.exchange(port, ServiceClient.request(secret, engine, options, shown));
  }

  /** With the bridge's usual options for the engine. */
  ServiceClient.Answer decompile(String engine, ShownClass shown) throws IOException {
    return decompile(engine, BridgeOptions.of(engine), shown);
  }

  /** The exit code, waiting as long as a slow machine might need. */
  int awaitExit() throws InterruptedException {
    ServiceTests.check(process.waitFor(120, TimeUnit.SECONDS), "the service did not end");
    return process.exitValue();
  }

  /** Ends the service at once, as a crash or the task manager would: no clean-up of its own. */
  void kill() {
    process.destroyForcibly();
    try {
      process.waitFor();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    }
  }

  @Override
  public void close() {
    kill();
  }
}
