package dravik.service.tests;

import java.util.ArrayList;
import java.util.List;

/**
 * The engines and the options the bridge gives them (EngineOptions in bridge/engines/engine.cpp), one
 * token each, as on its command lines.
 */
final class BridgeOptions {
  static final String VINEFLOWER = "vineflower";
  static final String CFR = "cfr";
  /** Each local under its name in the class's table, a Jad-style name where it has none. */
  static final String JAD_NAMES = "--jad-names-for-unnamed=1";
  /** Char literals, switch arms in their lines' order, class names with their '$'. */
  static final String AS_WRITTEN = "--as-written=1";
  /** The Kotlin compiler's @Metadata and @SourceDebugExtension in a line each. */
  static final String KOTLIN_LINES = "--kotlin-lines=1";
  /** The original line numbers in a column at the left, as Jad's -lnc. */
  static final String LINE_COLUMN = "-lnc";
  static final List<String> VINEFLOWER_PLAIN = List.of("--log-level=warn", "--kt-enable=false",
      "--indent-string=    ", JAD_NAMES, AS_WRITTEN, KOTLIN_LINES);
  static final List<String> VINEFLOWER_LINES = with(VINEFLOWER_PLAIN, LINE_COLUMN);
  /** The Kotlin view's: Vineflower's Kotlin plugin on. */
  static final List<String> VINEFLOWER_KOTLIN = List.of("--log-level=warn", "--kt-enable=true",
      "--indent-string=    ", JAD_NAMES, AS_WRITTEN, KOTLIN_LINES, LINE_COLUMN);
  static final List<String> CFR_OPTIONS =
      List.of("--silent", "true", "--sealed", "true", "--hideutf", "false", JAD_NAMES, KOTLIN_LINES);
  static final List<String> CFR_LINES = with(CFR_OPTIONS, LINE_COLUMN);

  private BridgeOptions() {}

  /** The bridge's usual options for an engine: with the line numbers' column. */
  static List<String> of(String engine) {
    return engine.equals(VINEFLOWER) ? VINEFLOWER_LINES : CFR_LINES;
  }

  /** The options without the service's own, as the engine's command line takes them. */
  static List<String> enginesOwn(List<String> options) {
    return without(without(without(without(options, JAD_NAMES), AS_WRITTEN), KOTLIN_LINES),
        LINE_COLUMN);
  }

  static List<String> without(List<String> options, String option) {
    List<String> rest = new ArrayList<>(options);
    rest.remove(option);
    return List.copyOf(rest);
  }

  private static List<String> with(List<String> options, String... more) {
    List<String> all = new ArrayList<>(options);
    all.addAll(List.of(more));
    return List.copyOf(all);
  }
}
