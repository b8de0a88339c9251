package dravik.service.tests;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.Socket;
import java.net.URI;
import java.nio.ByteBuffer;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Random;
import java.util.zip.ZipFile;

/**
 * The decompile service against the command line it stands in for, and in its faults. Run one
 * group by name: ServiceTests GROUP (with -Ddravik.java, -Ddravik.procyon, -Ddravik.service.jar,
 * -Ddravik.data: the test classes compiled by the build).
 */
public final class ServiceTests {
  private static final List<String> LINE_NUMBERS = Collections.singletonList("-ln");

  private ServiceTests() {}

  static void check(boolean condition, String what) {
    if (!condition) {
      throw new AssertionError(what);
    }
  }

  public static void main(String[] args) throws Exception {
    Path folder = Files.createTempDirectory("dravik-service-test");
    try {
      switch (args[0]) {
        case "same_as_one_shot":
          sameAsOneShot(folder);
          break;
        case "failures":
          failures(folder);
          break;
        case "refusals":
          refusals(folder);
          break;
        case "two_at_once":
          twoAtOnce(folder);
          break;
        case "idle_end":
          idleEnd(folder);
          break;
        case "port_file":
          portFile(folder);
          break;
        case "request_limit":
          requestLimit(folder);
          break;
        default:
          throw new IllegalArgumentException("no test group " + args[0]);
      }
    } finally {
      deleteTree(folder);
    }
    System.out.println(args[0] + ": passed");
  }

  // Each class twice through one service (the second time warm), against one command-line run
  // per class on the class alone in a folder: byte for byte, and the same file name. Options are
  // the bridge's (with and without -ln) and some that take other paths through the rewrite.
  private static void sameAsOneShot(Path folder) throws Exception {
    String procyonCore = procyonJar("procyon-core");
    Path javaBase = FileSystems.getFileSystem(URI.create("jrt:/")).getPath("/modules/java.base");
    Map<String, byte[]> classes = new LinkedHashMap<>();
    classes.put("Showcase", data("demo/Showcase.class"));
    classes.put("Showcase$Planet", data("demo/Showcase$Planet.class"));
    classes.put("Greeting", data("service/Greeting.class"));
    classes.put("StringUtilities", fromJar(procyonCore, "com/strobel/core/StringUtilities.class"));
    classes.put("VerifyArgument", fromJar(procyonCore, "com/strobel/core/VerifyArgument.class"));
    classes.put(
        "ImmutableList", fromJar(procyonCore, "com/strobel/collections/ImmutableList.class"));
    // A class of the Java library itself, which the service reads afresh with its neighbours.
    classes.put("Optional", Files.readAllBytes(javaBase.resolve("java/util/Optional.class")));
    List<String> bridgeLines = Arrays.asList("-ln", "--unicode");
    try (RunningService service = RunningService.start(folder)) {
      for (Map.Entry<String, byte[]> c : classes.entrySet()) {
        compare(service, "UTF-8", c.getKey(), c.getValue(), bridgeLines);
      }
      compare(service, "UTF-8", "Showcase", classes.get("Showcase"), Arrays.asList("--unicode"));
      // Stretched lines: the enum's first statements sit above where they are written out.
      compare(service, "UTF-8", "Showcase$Planet", classes.get("Showcase$Planet"),
          Arrays.asList("-ln", "-sl"));
      compare(service, "UTF-8", "Greeting", classes.get("Greeting"), LINE_NUMBERS);
    }
    // The line-number pass reads the written file back in the default charset: with Windows'
    // western code page ("ō" is C5 8D in UTF-8, and 8D is no character there) the command line's
    // bytes change, and the service's must change with them.
    List<String> cp1252 = new ArrayList<>(RunningService.JVM_OPTIONS);
    cp1252.replaceAll(o -> o.startsWith("-Dfile.encoding=") ? "-Dfile.encoding=windows-1252" : o);
    Path cp1252Folder = Files.createDirectories(folder.resolve("cp1252"));
    try (RunningService service = RunningService.startWith(cp1252, cp1252Folder)) {
      compare(service, "windows-1252", "Greeting", classes.get("Greeting"), bridgeLines);
    }
  }

  private static void compare(RunningService service, String encoding, String name,
      byte[] classBytes, List<String> options) throws Exception {
    Path runFolder = Files.createTempDirectory(service.portFile.getParent(), "one-shot");
    OneShot expected = OneShot.run(encoding, runFolder, name, classBytes, options);
    for (int round = 0; round < 2; round++) {
      ServiceClient.Answer answer = service.decompile(options, classBytes);
      String what = name + " with " + options + " in " + encoding + ", round " + round;
      check(answer.status == ServiceClient.SOURCE, what + ": " + answer.text());
      check(
          answer.path.equals(expected.path), what + ": " + answer.path + ", not " + expected.path);
      check(Arrays.equals(answer.bytes, expected.bytes), what + ": not the one-shot run's source");
    }
  }

  // Requests that give no source get a text saying why, and the service answers the next one.
  private static void failures(Path folder) throws Exception {
    byte[] showcase = showcase();
    try (RunningService service = RunningService.start(folder)) {
      byte[] cut = Arrays.copyOf(showcase, showcase.length * 2 / 3);
      expectFailed(service, "a class cut short", LINE_NUMBERS, cut);
      expectFailed(service, "not a class file", LINE_NUMBERS, "not a class".getBytes("US-ASCII"));
      expectFailed(service, "an unknown option", Arrays.asList("--no-such-option"), showcase);
      expectFailed(service, "an output folder", Arrays.asList("-o", "x"), showcase);
      expectFailed(service, "raw bytecode", Arrays.asList("-r"), showcase);
      // Class files with a few bytes changed: Procyon reads some, rejects some and throws on
      // others; each gets an answer.
      Random random = new Random(18);
      for (int i = 0; i < 100; i++) {
        byte[] mangled = showcase.clone();
        for (int k = random.nextInt(4); k >= 0; k--) {
          mangled[random.nextInt(mangled.length)] = (byte) random.nextInt(256);
        }
        int status = service.decompile(LINE_NUMBERS, mangled).status;
        check(status == ServiceClient.SOURCE || status == ServiceClient.FAILED,
            "mangled class " + i + ": status " + status);
      }
      check(service.decompile(LINE_NUMBERS, showcase).status == ServiceClient.SOURCE,
          "no source after the mangled classes");
    }
  }

  private static void expectFailed(RunningService service, String what, List<String> options,
      byte[] classBytes) throws IOException {
    ServiceClient.Answer answer = service.decompile(options, classBytes);
    check(answer.status == ServiceClient.FAILED && !answer.text().isEmpty(),
        what + ": status " + answer.status);
    check(service.decompile(LINE_NUMBERS, showcase()).status == ServiceClient.SOURCE,
        "no source after " + what);
  }

  // Only a caller with the secret gets a class decompiled; one that sends nothing is dropped.
  private static void refusals(Path folder) throws Exception {
    byte[] showcase = showcase();
    try (RunningService service = RunningService.start(folder, "--read-timeout-seconds", "0.5")) {
      ServiceClient.Answer wrong = ServiceClient.decompile(
          service.port, "0123456789abcdef0123456789abcdef", LINE_NUMBERS, showcase);
      check(wrong.status == ServiceClient.REFUSED, "a wrong secret got status " + wrong.status);

      byte[] request = ServiceClient.request(service.secret, LINE_NUMBERS, showcase);
      request[0] ^= 0x20;
      check(exchange(service.port, request).status == ServiceClient.REFUSED,
          "a wrong magic was not refused");

      // A class longer than the limit is refused from its length, before its bytes are sent.
      byte[] announced = ServiceClient.request(service.secret, LINE_NUMBERS, new byte[0]);
      ByteBuffer.wrap(announced).putInt(announced.length - 4, 17 * 1024 * 1024);
      check(exchange(service.port, announced).status == ServiceClient.REFUSED,
          "an oversized class was not refused");

      try (Socket silent = ServiceClient.connect(service.port)) {
        check(ServiceClient.closedSilently(silent), "a silent caller got an answer");
      }
      check(service.decompile(LINE_NUMBERS, showcase).status == ServiceClient.SOURCE,
          "no source after the refusals");
    }
  }

  // One request waits for its last byte on one worker while the other worker answers a second.
  private static void twoAtOnce(Path folder) throws Exception {
    byte[] showcase = showcase();
    try (RunningService service = RunningService.start(folder, "--read-timeout-seconds", "120")) {
      byte[] request = ServiceClient.request(service.secret, LINE_NUMBERS, showcase);
      try (Socket first = ServiceClient.connect(service.port)) {
        OutputStream firstOut = first.getOutputStream();
        firstOut.write(request, 0, request.length - 1);
        firstOut.flush();
        ServiceClient.Answer second = service.decompile(LINE_NUMBERS, showcase);
        check(second.status == ServiceClient.SOURCE,
            "the second request was not answered beside the first");
        firstOut.write(request, request.length - 1, 1);
        ServiceClient.Answer firstAnswer = ServiceClient.readAnswer(first);
        check(firstAnswer.status == ServiceClient.SOURCE, "the first request was not answered");
        check(Arrays.equals(firstAnswer.bytes, second.bytes), "the two answers differ");
      }
    }
  }

  // With a short idle limit the service ends by itself after its last request, and removes its port
  // file.
  private static void idleEnd(Path folder) throws Exception {
    try (RunningService service = RunningService.start(folder, "--idle-seconds", "1")) {
      check(
          service.decompile(LINE_NUMBERS, showcase()).status == ServiceClient.SOURCE, "no source");
      check(service.awaitExit() == 0, "the idle end's exit code is not 0");
      check(!Files.exists(service.portFile), "the port file is left after the idle end");
    }
  }

  // The port file is the user's alone; a second service leaves a live one's file alone; a killed
  // service's file is taken over by the next.
  private static void portFile(Path folder) throws Exception {
    try (RunningService first = RunningService.start(folder)) {
      check(PosixFilePermissions.toString(Files.getPosixFilePermissions(first.portFile))
                .equals("rw-------"),
          "the port file is readable by others");
      String content = first.portFileContent();
      check(content.matches("[0-9]+ [0-9a-f]{32}\n"), "port file content: " + content);
      try (RunningService second = RunningService.launch(RunningService.JVM_OPTIONS, folder)) {
        check(second.awaitExit() == 3, "a second service did not end with 3");
      }
      check(first.portFileContent().equals(content), "a second service changed the port file");

      first.kill();
      check(Files.exists(first.portFile), "a killed service should leave its port file");
      try (RunningService next = RunningService.start(folder)) {
        check(!next.portFileContent().equals(content),
            "the next service did not write its own port file");
        check(next.decompile(LINE_NUMBERS, showcase()).status == ServiceClient.SOURCE,
            "the next service gives no source");
      }
    }
  }

  // A decompile that runs past the request limit ends the service, which removes its port file.
  private static void requestLimit(Path folder) throws Exception {
    try (
        RunningService service = RunningService.start(folder, "--request-limit-seconds", "0.001")) {
      check(service.decompile(LINE_NUMBERS, showcase()).status == ServiceClient.CLOSED,
          "a request over its limit got an answer");
      check(service.awaitExit() == 4, "the exit code over the limit is not 4");
      check(!Files.exists(service.portFile), "the port file is left after the limit");
    }
  }

  private static ServiceClient.Answer exchange(int port, byte[] request) throws IOException {
    try (Socket socket = ServiceClient.connect(port)) {
      socket.getOutputStream().write(request);
      return ServiceClient.readAnswer(socket);
    }
  }

  private static byte[] showcase() throws IOException {
    return data("demo/Showcase.class");
  }

  // A class compiled from tests/data/java or tests/service/java by the build.
  private static byte[] data(String path) throws IOException {
    return Files.readAllBytes(Paths.get(System.getProperty("dravik.data")).resolve(path));
  }

  private static String procyonJar(String name) {
    for (String jar : RunningService.PROCYON_CLASS_PATH.split(File.pathSeparator)) {
      if (Paths.get(jar).getFileName().toString().startsWith(name)) {
        return jar;
      }
    }
    throw new AssertionError(name + " is not on Procyon's class path");
  }

  private static byte[] fromJar(String jar, String entry) throws IOException {
    try (ZipFile zip = new ZipFile(jar); InputStream in = zip.getInputStream(zip.getEntry(entry))) {
      ByteArrayOutputStream bytes = new ByteArrayOutputStream();
      byte[] buffer = new byte[8192];
      for (int n; (n = in.read(buffer)) > 0;) {
        bytes.write(buffer, 0, n);
      }
      return bytes.toByteArray();
    }
  }

  private static void deleteTree(Path root) throws IOException {
    try (java.util.stream.Stream<Path> paths = Files.walk(root)) {
      paths.sorted(Collections.reverseOrder()).forEach(p -> p.toFile().delete());
    }
  }
}
