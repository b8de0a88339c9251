package dravik.service.tests;

import java.util.ArrayList;
import java.util.List;

/**
 * The engines and the options the bridge gives them (EngineOptions in bridge/engine.cpp), one
 * token each, as on its command lines.
 */
final class BridgeOptions {
  static final String VINEFLOWER = "vineflower";
  static final String CFR = "cfr";
  /** Each local under its name in the class's table, a Jad-style name where it has none. */
  static final String JAD_NAMES = "--jad-names-for-unnamed=1";
  static final List<String> VINEFLOWER_PLAIN =
      List.of("--log-level=warn", "--kt-enable=false", "--indent-string=    ", JAD_NAMES);
  /** With the original line numbers asked for: "// 13" at line ends. */
  static final List<String> VINEFLOWER_LINES =
      with(VINEFLOWER_PLAIN, "--bytecode-source-mapping=true", "--__dump_original_lines__=true");
  static final List<String> CFR_OPTIONS =
      List.of("--silent", "true", "--sealed", "true", "--hideutf", "false");

  private BridgeOptions() {}

  /** The bridge's usual options for an engine: Vineflower's with line numbers. */
  static List<String> of(String engine) {
    return engine.equals(VINEFLOWER) ? VINEFLOWER_LINES : CFR_OPTIONS;
  }

  /** The options without the service's own, as the engine's command line takes them. */
  static List<String> enginesOwn(List<String> options) {
    List<String> own = new ArrayList<>(options);
    own.remove(JAD_NAMES);
    return List.copyOf(own);
  }

  private static List<String> with(List<String> options, String... more) {
    List<String> all = new ArrayList<>(options);
    all.addAll(List.of(more));
    return List.copyOf(all);
  }
}
