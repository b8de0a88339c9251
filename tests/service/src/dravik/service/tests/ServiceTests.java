package dravik.service.tests;

import static dravik.service.tests.BridgeOptions.CFR;
import static dravik.service.tests.BridgeOptions.VINEFLOWER;

import java.io.BufferedOutputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.net.Socket;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Random;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;

/**
 * The decompile service against the command lines it stands in for, and in its faults. Run one
 * group by name: ServiceTests GROUP (with -Ddravik.java, -Ddravik.vineflower, -Ddravik.cfr,
 * -Ddravik.service.jar, -Ddravik.data: the test classes compiled by the build).
 */
public final class ServiceTests {
  private static final int MIB = 1024 * 1024;

  private ServiceTests() {}

  static void check(boolean condition, String what) {
    if (!condition) {
      throw new AssertionError(what);
    }
  }

  /** Adds a fault unless each text stands in the source, in this order. */
  static void expectInOrder(List<String> faults, String what, String source, String... texts) {
    int at = 0;
    for (String text : texts) {
      int found = source.indexOf(text, at);
      if (found < 0) {
        faults.add(what + ": \"" + text + "\" not found in order in\n" + source);
        return;
      }
      at = found + text.length();
    }
  }

  public static void main(String[] args) throws Exception {
    Path folder = Files.createTempDirectory("dravik-service-test");
    try {
      switch (args[0]) {
        case "same_as_one_shot_vineflower" -> SameAsOneShot.run(folder, VINEFLOWER);
        case "same_as_one_shot_cfr" -> SameAsOneShot.run(folder, CFR);
        case "recompiles_vineflower" -> Recompiles.run(folder, VINEFLOWER);
        case "recompiles_cfr" -> Recompiles.run(folder, CFR);
        case "names_and_casts" -> NamesAndCasts.run(folder);
        case "as_written" -> AsWritten.run(folder);
        case "kotlin" -> KotlinClasses.run(folder);
        case "line_numbers" -> LineNumbers.run(folder);
        case "repeat_views" -> RepeatViews.run(folder);
        case "failures" -> failures(folder);
        case "refusals" -> refusals(folder);
        case "two_at_once" -> twoAtOnce(folder);
        case "idle_end" -> idleEnd(folder);
        case "port_file" -> portFile(folder);
        case "request_limit" -> requestLimit(folder);
        case "callers_that_leave" -> StoppedRequests.callersThatLeave(folder);
        case "engines_give_up" -> StoppedRequests.enginesGiveUp();
        case "other_settings" -> StoppedRequests.otherSettings(folder);
        default -> throw new IllegalArgumentException("no test group " + args[0]);
      }
    } finally {
      deleteTree(folder);
    }
    System.out.println(args[0] + ": passed");
  }

  // Requests that give no source get a text saying why, and the service answers the next one.
  private static void failures(Path folder) throws Exception {
    ShownClass showcase = ShownClass.compiled("demo/Showcase");
    byte[] cut = Arrays.copyOf(showcase.bytes(), showcase.bytes().length * 2 / 3);
    try (RunningService service = RunningService.start(folder)) {
      for (String engine : List.of(VINEFLOWER, CFR)) {
            List<String> options = BridgeOptions.of(engine);
            expectFailed(service, engine, "a class cut short", options,
                new ShownClass(showcase.internalName(), cut, Map.of()));
            expectFailed(service, engine, "not a class file", options,
                new ShownClass(
                    "demo/Showcase", "not a class".getBytes(StandardCharsets.US_ASCII), Map.of()));
            expectFailed(service, engine, "a file name", with(options, "Showcase.class"), showcase);
            // Mangled class files: each engine reads some, rejects some and throws on others;
            // each gets an answer.
            Random random = new Random(24);
            for (int i = 0; i < 40; i++) {
              byte[] mangled = showcase.bytes().clone();
              for (int k = random.nextInt(4); k >= 0; k--) {
                mangled[random.nextInt(mangled.length)] = (byte) random.nextInt(256);
              }
              int status =
                  service.decompile(engine, new ShownClass("demo/Showcase", mangled, Map.of()))
                      .status();
              check(status == ServiceClient.SOURCE || status == ServiceClient.FAILED,
                  engine + ", mangled class " + i + ": status " + status);
            }
          }
          expectFailed(service, VINEFLOWER, "the class named",
              with(BridgeOptions.VINEFLOWER_PLAIN, "--only=demo/Showcase"), showcase);
          expectFailed(
              service, VINEFLOWER, "other classes", List.of("--add-external=x.jar"), showcase);
          expectFailed(service, VINEFLOWER, "another kind of output", List.of("--file"), showcase);
          expectFailed(
              service, CFR, "an unknown option", List.of("--no-such-option", "1"), showcase);
          expectFailed(service, CFR, "an output folder", List.of("--outputdir", "x"), showcase);
          expectFailed(service, CFR, "renamed identifiers", List.of("--rename", "true"), showcase);
          expectFailed(service, "procyon", "an unknown engine", List.of(), showcase);
      }
    }

    private static void expectFailed(RunningService service, String engine, String what,
        List<String> options, ShownClass shown) throws IOException {
      ServiceClient.Answer answer = service.decompile(engine, options, shown);
      check(answer.status() == ServiceClient.FAILED && !answer.text().isEmpty(),
          engine + ", " + what + ": status " + answer.status());
      check(service.decompile(CFR, ShownClass.compiled("demo/Showcase")).status()
              == ServiceClient.SOURCE,
          "no source after " + what);
    }

    private static List<String> with(List<String> options, String more) {
      List<String> all = new ArrayList<>(options);
      all.add(more);
      return all;
    }

    // Only a caller with the secret gets a class decompiled; a request in another version, with a
    // size over its bound or a family member's name that is no plain file name is refused, as is a
    // caller that sends nothing.
    private static void refusals(Path folder) throws Exception {
      ShownClass showcase = ShownClass.compiled("demo/Showcase");
      try (RunningService service = RunningService.start(folder, "--read-timeout-seconds", "0.5")) {
        String secret = service.secret;
        byte[] good = ServiceClient.request(secret, CFR, BridgeOptions.CFR_OPTIONS, showcase);
        check(refused(service,
                  ServiceClient.request("0123456789abcdef0123456789abcdef", CFR,
                      BridgeOptions.CFR_OPTIONS, showcase)),
            "a wrong secret was not refused");
        byte[] magic = good.clone();
        magic[0] ^= 0x20;
        check(refused(service, magic), "a wrong magic was not refused");
        byte[] version1 = good.clone();
        version1[5] = 1;
        ServiceClient.Answer old = ServiceClient.exchange(service.port, version1);
        check(old.status() == ServiceClient.REFUSED && old.text().contains("version 3"),
            "a version 1 request: " + old.status() + " " + old.text());

        Map<String, byte[]> malformed = new LinkedHashMap<>();
        malformed.put("an engine's name of 33 bytes", bytes(out -> {
          header(out, secret);
          out.writeShort(33);
        }));
        malformed.put("33 options", bytes(out -> {
          header(out, secret);
          ServiceClient.writeText(out, CFR);
          out.writeShort(33);
        }));
        malformed.put("an option of 257 bytes", bytes(out -> {
          header(out, secret);
          ServiceClient.writeText(out, CFR);
          out.writeShort(1);
          out.writeShort(257);
        }));
        // Longer than the bound, refused from its length, before its bytes are sent.
        malformed.put("a class of 17 MiB", bytes(out -> {
          start(out, secret, BridgeOptions.CFR_OPTIONS);
          out.writeInt(17 * MIB);
        }));
        malformed.put("4097 members", bytes(out -> {
          withClass(out, secret, showcase);
          out.writeShort(4097);
        }));
        malformed.put("a member of 17 MiB", bytes(out -> {
          withClass(out, secret, showcase);
          out.writeShort(1);
          ServiceClient.writeText(out, "Showcase$Planet.class");
          out.writeInt(17 * MIB);
        }));
        for (String name : List.of("", "../Showcase$Planet.class", "sub/Showcase$1.class",
                 "sub\\Showcase$1.class", "C:Showcase$1.class", "Showcase..class")) {
          malformed.put("a member named \"" + name + "\"", bytes(out -> {
            withClass(out, secret, showcase);
            out.writeShort(1);
            ServiceClient.writeText(out, name);
            out.writeInt(showcase.bytes().length);
            out.write(showcase.bytes());
          }));
        }
        malformed.put("a member sent twice", bytes(out -> {
          withClass(out, secret, showcase);
          out.writeShort(2);
          for (int i = 0; i < 2; i++) {
            ServiceClient.writeText(out, "Showcase$Planet.class");
            out.writeInt(showcase.bytes().length);
            out.write(showcase.bytes());
          }
        }));
        for (Map.Entry<String, byte[]> request : malformed.entrySet()) {
          check(refused(service, request.getValue()), request.getKey() + " was not refused");
        }
        check(familyOverBound(service, showcase), "a family over 64 MiB was not refused");

        try (Socket silent = ServiceClient.connect(service.port)) {
          check(ServiceClient.closedSilently(silent), "a silent caller got an answer");
        }
        check(ServiceClient.exchange(service.port, good).status() == ServiceClient.SOURCE,
            "no source after the refusals");
      }
    }

    private interface Body {
      void write(DataOutputStream out) throws IOException;
    }

    private static byte[] bytes(Body body) throws IOException {
      ByteArrayOutputStream buffer = new ByteArrayOutputStream();
      body.write(new DataOutputStream(buffer));
      return buffer.toByteArray();
    }

    private static void header(DataOutputStream out, String secret) throws IOException {
      out.writeInt(0x4452564B);
      out.writeShort(3);
      ServiceClient.writeText(out, secret);
      ServiceClient.writeText(out, "");
    }

    private static void start(DataOutputStream out, String secret, List<String> options)
        throws IOException {
      header(out, secret);
      ServiceClient.writeText(out, CFR);
      out.writeShort(options.size());
      for (String option : options) {
        ServiceClient.writeText(out, option);
      }
    }

    private static void withClass(DataOutputStream out, String secret, ShownClass shown)
        throws IOException {
      start(out, secret, BridgeOptions.CFR_OPTIONS);
      out.writeInt(shown.bytes().length);
      out.write(shown.bytes());
    }

    private static boolean refused(RunningService service, byte[] request) throws IOException {
      return ServiceClient.exchange(service.port, request).status() == ServiceClient.REFUSED;
    }

    // A class and three members of 16 MiB each make 64 MiB, the bound; one byte more is refused.
    private static boolean familyOverBound(RunningService service, ShownClass shown)
        throws IOException {
      byte[] block = Arrays.copyOf(shown.bytes(), 16 * MIB);
      try (Socket socket = ServiceClient.connect(service.port)) {
        DataOutputStream out =
            new DataOutputStream(new BufferedOutputStream(socket.getOutputStream(), 1 << 16));
        start(out, service.secret, BridgeOptions.CFR_OPTIONS);
        out.writeInt(block.length);
        out.write(block);
        out.writeShort(4);
        for (int i = 1; i <= 3; i++) {
          ServiceClient.writeText(out, "Showcase$" + i + ".class");
          out.writeInt(block.length);
          out.write(block);
        }
        ServiceClient.writeText(out, "Showcase$4.class");
        out.writeInt(1);
        out.flush();
        return ServiceClient.readAnswer(socket).status() == ServiceClient.REFUSED;
      }
    }

    // One request waits for its last byte on one worker while the other worker answers a second;
    // then both workers decompile at once, with both engines, and give what each gives alone.
    private static void twoAtOnce(Path folder) throws Exception {
      ShownClass showcase = ShownClass.compiled("demo/Showcase");
      try (RunningService service = RunningService.start(folder, "--read-timeout-seconds", "120")) {
        byte[] request =
            ServiceClient.request(service.secret, CFR, BridgeOptions.of(CFR), showcase);
        try (Socket first = ServiceClient.connect(service.port)) {
          OutputStream firstOut = first.getOutputStream();
          firstOut.write(request, 0, request.length - 1);
          firstOut.flush();
          ServiceClient.Answer second = service.decompile(CFR, showcase);
          check(second.status() == ServiceClient.SOURCE,
              "the second request was not answered beside the first");
          firstOut.write(request, request.length - 1, 1);
          ServiceClient.Answer firstAnswer = ServiceClient.readAnswer(first);
          check(firstAnswer.status() == ServiceClient.SOURCE, "the first request was not answered");
          check(Arrays.equals(firstAnswer.bytes(), second.bytes()), "the two answers differ");
        }

        List<ShownClass> classes = List.of(ShownClass.compiled("demo/Family"),
            ShownClass.compiled("demo/Features"), ShownClass.compiled("demo/Modern"));
        Map<String, byte[]> alone = new LinkedHashMap<>();
        for (String engine : List.of(VINEFLOWER, CFR)) {
          for (ShownClass shown : classes) {
            alone.put(
                engine + " " + shown.internalName(), service.decompile(engine, shown).bytes());
          }
        }
        ExecutorService callers = Executors.newFixedThreadPool(2);
        try {
          List<Future<List<String>>> runs = new ArrayList<>();
          for (int caller = 0; caller < 2; caller++) {
            List<String> keys = new ArrayList<>(alone.keySet());
            Collections.shuffle(keys, new Random(caller));
            runs.add(callers.submit(() -> differing(service, classes, keys, alone)));
          }
          for (Future<List<String>> run : runs) {
            check(run.get().isEmpty(), "answers differ when decompiled at once: " + run.get());
          }
        } finally {
          callers.shutdownNow();
        }
      }
    }

    private static List<String> differing(RunningService service, List<ShownClass> classes,
        List<String> keys, Map<String, byte[]> alone) throws IOException {
      List<String> differing = new ArrayList<>();
      for (int round = 0; round < 2; round++) {
        for (String key : keys) {
          String engine = key.substring(0, key.indexOf(' '));
          ShownClass shown = classes.stream()
                                 .filter(c -> key.endsWith(" " + c.internalName()))
                                 .findFirst()
                                 .orElseThrow();
          if (!Arrays.equals(service.decompile(engine, shown).bytes(), alone.get(key))) {
            differing.add(key);
          }
        }
      }
      return differing;
    }

    // With a short idle limit the service ends by itself after its last request, and removes its
    // port file.
    private static void idleEnd(Path folder) throws Exception {
      try (RunningService service = RunningService.start(folder, "--idle-seconds", "1")) {
        check(service.decompile(CFR, ShownClass.compiled("demo/Showcase")).status()
                == ServiceClient.SOURCE,
            "no source");
        check(service.awaitExit() == 0, "the idle end's exit code is not 0");
        check(!Files.exists(service.portFile), "the port file is left after the idle end");
      }
    }

    // The port file is the user's alone; a second service leaves a live one's file alone; a killed
    // service's file is taken over by the next.
    private static void portFile(Path folder) throws Exception {
      // No secret on its standard input, or one that is not letters and digits: it does not start.
      for (String input : List.of("", "short\n", "0123456789abcdef 0123456789abcdef\n")) {
        try (RunningService refused = RunningService.launchWithInput(input, folder)) {
          check(refused.awaitExit() == 2, "a service started on the secret '" + input + "'");
        }
      }
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
        // The marker of the start that the bridge made goes once the service listens.
        Path startMarker = folder.resolve("service.port.start");
        Files.write(startMarker, new byte[0]);
        try (RunningService next = RunningService.start(folder)) {
          // Removed right after the port file is in place.
          for (int wait = 0; wait < 250 && Files.exists(startMarker); wait++) {
            Thread.sleep(20);
          }
          check(!Files.exists(startMarker), "the service left the bridge's start marker");
          check(!next.portFileContent().equals(content),
              "the next service did not write its own port file");
          check(next.decompile(CFR, ShownClass.compiled("demo/Showcase")).status()
                  == ServiceClient.SOURCE,
              "the next service gives no source");
        }
      }
    }

    // A decompile that runs past the request limit ends the service, which removes its port file.
    private static void requestLimit(Path folder) throws Exception {
      try (RunningService service =
               RunningService.start(folder, "--request-limit-seconds", "0.001")) {
        check(service.decompile(VINEFLOWER, ShownClass.compiled("demo/Showcase")).status()
                == ServiceClient.CLOSED,
            "a request over its limit got an answer");
        check(service.awaitExit() == 4, "the exit code over the limit is not 4");
        check(!Files.exists(service.portFile), "the port file is left after the limit");
      }
    }

    static void deleteTree(Path root) throws IOException {
      try (java.util.stream.Stream<Path> paths = Files.walk(root)) {
        paths.sorted(Collections.reverseOrder()).forEach(p -> p.toFile().delete());
      }
    }
  }
