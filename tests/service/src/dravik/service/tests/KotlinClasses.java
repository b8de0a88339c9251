package dravik.service.tests;

import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/**
 * Classes compiled from Kotlin, kotlin-stdlib's (-Ddravik.kotlin.jar), as the bridge asks for
 * them. The Java view opens with the class: Kotlin's metadata and its map of inlined lines stand
 * in a line each that says what they hold, for either engine, and the source still compiles. The Kotlin view (Vineflower's Kotlin plugin) writes a data class, a value class,
 * a sealed hierarchy, a file facade, a multi-file class's part, a class with a companion and a
 * class with inlined code as Kotlin, with the column of original lines; a suspend lambda's state
 * machine shows in the Java view. Java and Kotlin of one class are kept apart. The Java view of a
 * Java class, one with annotations of its own named as Kotlin's too, is byte for byte what it was
 * without the option.
 */
final class KotlinClasses {
  private KotlinClasses() {}

  static void run(Path folder) throws Exception {
    String jar = System.getProperty("dravik.kotlin.jar");
    String classPath = jar + ":" + Paths.get(jar).resolveSibling("annotations.jar");
    List<String> faults = new ArrayList<>();
    try (RunningService service = RunningService.start(folder)) {
      for (String engine : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR)) {
        ShownClass pair = ShownClass.inJar(jar, "kotlin/Pair");
        String java = text(service, engine, BridgeOptions.of(engine), pair);
        // Within 15 lines of the header for Vineflower; CFR's own comment on top takes ten.
        expectWithin(faults, engine + "'s Pair", java,
            engine.equals(BridgeOptions.VINEFLOWER) ? 15 : 25, "public final class Pair<A, B>");
        expect(faults, engine + "'s Pair", java,
            "// @Metadata (whole in the bytecode view): a Kotlin class, metadata version 2.2.0");
        expectNone(faults, engine + "'s Pair", java, "d1 =", "d1=", "import kotlin.Metadata;");
        // Compiles again (its methods are javac's, not kotlinc's: bench/README has the figures).
        MeaningCheck.Result meaning = MeaningCheck.of(service.decompile(engine, pair), pair,
            folder, List.of("--release", "8", "-cp", classPath));
        if (meaning.errors != null) {
          faults.add(engine + "'s Pair does not compile: " + meaning.errors);
        }
        String regex = text(service, engine, BridgeOptions.of(engine),
            ShownClass.inJar(jar, "kotlin/text/Regex"));
        expect(faults, engine + "'s Regex", regex,
            "// @SourceDebugExtension (whole in the bytecode view): the lines of Regex.kt"
                + " (kotlin/text/Regex), Regex.kt (kotlin/text/RegexKt) and fake.kt"
                + " (kotlin/jvm/internal/FakeKt)",
            "class Regex");
        expectNone(faults, engine + "'s Regex", regex, "SMAP", "d1 =", "d1=");
        expect(faults, engine + "'s part of CollectionsKt",
            text(service, engine, BridgeOptions.of(engine),
                ShownClass.inJar(jar, "kotlin/collections/CollectionsKt___CollectionsKt")),
            "// @Metadata (whole in the bytecode view): a Kotlin multi-file class part,"
                + " metadata version 2.2.0");
      }
      String machine = text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_LINES,
          ShownClass.inJar(jar, "kotlin/sequences/SequencesKt___SequencesKt$zipWithNext$2"));
      expect(faults, "a suspend lambda", machine,
          "// @Metadata (whole in the bytecode view): a Kotlin synthetic class",
          "public final Object invokeSuspend(Object $result) {", "switch (this.label) {",
          "this.label = 1;");

      expectKotlin(faults, service, jar, "kotlin/Pair", "public data class Pair<A, B>",
          "public final val first: Any", "/*  27*/        this.first = (A)first",
          "public operator fun component1(): Any");
      expectKotlin(faults, service, jar, "kotlin/text/Regex",
          "// @SourceDebugExtension (whole in the bytecode view): the lines of Regex.kt",
          "public class Regex", "public final val options: Set<RegexOption>");
      expectKotlin(faults, service, jar, "kotlin/UInt", "public value class UInt");
      expectKotlin(faults, service, jar, "kotlin/time/InstantParseResult",
          "sealed interface InstantParseResult", "public class Failure(",
          ") : InstantParseResult {", "public class Success(", ") : InstantParseResult {");
      expectKotlin(faults, service, jar, "kotlin/TuplesKt",
          "public infix fun <A, B> A.to(that: B): Pair<A, B> {");
      expectKotlin(faults, service, jar, "kotlin/collections/CollectionsKt___CollectionsKt",
          "@file:JvmMultifileClass",
          "// @SourceDebugExtension (whole in the bytecode view): the lines of _Collections.kt");
      expectKotlin(faults, service, jar, "kotlin/KotlinVersion", "public class KotlinVersion(",
          "public companion object {");

      // The Kotlin view and the Java view of one class, each as it was asked for again.
      ShownClass pair = ShownClass.inJar(jar, "kotlin/Pair");
      String java = text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_LINES, pair);
      String kotlin =
          text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_KOTLIN, pair);
      ServiceTests.check(
          java.equals(text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_LINES, pair))
              && kotlin.equals(
                  text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_KOTLIN, pair))
              && !java.equals(kotlin),
          "the Java and the Kotlin of Pair are not kept apart");

      // Java classes: the option changes nothing.
      for (String engine : List.of(BridgeOptions.VINEFLOWER, BridgeOptions.CFR)) {
        for (String name :
            List.of("demo/Showcase", "demo/Modern", "service/Written", "service/OwnMetadata")) {
          ShownClass shown = ShownClass.compiled(name);
          List<String> options = BridgeOptions.of(engine);
          String with = text(service, engine, options, shown);
          String without =
              text(service, engine, BridgeOptions.without(options, BridgeOptions.KOTLIN_LINES),
                  shown);
          if (!with.equals(without)) {
            faults.add(engine + " on " + name + ": the Java view changed:\n" + with);
          }
        }
      }
    }
    ServiceTests.check(faults.isEmpty(), String.join("\n\n", faults));
  }

  private static void expectKotlin(List<String> faults, RunningService service, String jar,
      String internalName, String... texts) throws Exception {
    String kotlin = text(service, BridgeOptions.VINEFLOWER, BridgeOptions.VINEFLOWER_KOTLIN,
        ShownClass.inJar(jar, internalName));
    expect(faults, "Kotlin of " + internalName, kotlin, texts);
    expectNone(faults, "Kotlin of " + internalName, kotlin, "SMAP");
  }

  private static String text(RunningService service, String engine, List<String> options,
      ShownClass shown) throws Exception {
    ServiceClient.Answer answer = service.decompile(engine, options, shown);
    ServiceTests.check(answer.status() == ServiceClient.SOURCE,
        engine + " on " + shown.internalName() + ": " + answer.text());
    return new String(answer.bytes(), StandardCharsets.UTF_8);
  }

  // text on one of the source's first lines.
  private static void expectWithin(
      List<String> faults, String what, String source, int lines, String text) {
    String[] first = source.split("\n", lines + 1);
    for (int i = 0; i < Math.min(lines, first.length); i++) {
      if (first[i].contains(text)) {
        return;
      }
    }
    faults.add(what + ": \"" + text + "\" not within its first " + lines + " lines:\n" + source);
  }

  private static void expect(List<String> faults, String what, String source, String... texts) {
    ServiceTests.expectInOrder(faults, what, source, texts);
  }

  private static void expectNone(
      List<String> faults, String what, String source, String... texts) {
    for (String text : texts) {
      if (source.contains(text)) {
        faults.add(what + ": \"" + text + "\" found in\n" + source);
      }
    }
  }
}
