package dravik.service.cfr;

import dravik.service.engine.Engine;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.benf.cfr.reader.bytecode.analysis.parse.utils.Pair;
import org.benf.cfr.reader.util.getopt.GetOptParser;
import org.benf.cfr.reader.util.getopt.Options;
import org.benf.cfr.reader.util.getopt.OptionsImpl;
import org.benf.cfr.reader.util.getopt.PermittedOptionProvider;

/**
 * CFR's command-line options ("--silent true", one token each), parsed by CFR's own parser. What
 * the service cannot do the command line's way is refused rather than ignored: options that name
 * input or output or another kind of output, and renaming of illegal identifiers, whose numbering
 * CFR keeps for the whole process rather than for one class.
 */
final class CfrOptions {
  private static final List<PermittedOptionProvider.ArgumentParam<?, ?>> NOT_SUPPORTED =
      Arrays.<PermittedOptionProvider.ArgumentParam<?, ?>>asList(OptionsImpl.OUTPUT_DIR,
          OptionsImpl.OUTPUT_PATH, OptionsImpl.HELP, OptionsImpl.VERSION, OptionsImpl.ANALYSE_AS,
          OptionsImpl.JAR_FILTER, OptionsImpl.EXTRA_CLASS_PATH, OptionsImpl.OBFUSCATION_PATH,
          OptionsImpl.METHODNAME, OptionsImpl.DUMP_CLASS_PATH, OptionsImpl.TRACK_BYTECODE_LOC);

  private CfrOptions() {}

  /** With lines, CFR also reports where each line's bytecode came from, for the line numbers. */
  static Options parse(List<String> options, boolean lines) throws Engine.Failure {
    Pair<List<String>, Options> parsed = parseTokens(options);
    if (!parsed.getFirst().isEmpty()) {
      throw new Engine.Failure(
          "The service takes the class as bytes, not as a file: " + parsed.getFirst());
    }
    Options result = parsed.getSecond();
    for (PermittedOptionProvider.ArgumentParam<?, ?> option : NOT_SUPPORTED) {
      if (result.optionIsSet(option)) {
        throw new Engine.Failure("--" + option.getName() + " is not supported by the service.");
      }
    }
    if (result.getOption(OptionsImpl.RENAME_ILLEGAL_IDENTS)) {
      throw new Engine.Failure("Renaming illegal identifiers (--renameillegalidents, --rename) is"
          + " not supported by the service: CFR numbers them across every class of a process.");
    }
    if (lines) {
      List<String> tracked = new ArrayList<>(options);
      tracked.addAll(Arrays.asList("--" + OptionsImpl.TRACK_BYTECODE_LOC.getName(), "true"));
      result = parseTokens(tracked).getSecond();
    }
    return result;
  }

  private static Pair<List<String>, Options> parseTokens(List<String> options)
      throws Engine.Failure {
    try {
      return new GetOptParser().parse(options.toArray(new String[0]), OptionsImpl.getFactory());
    } catch (RuntimeException e) {
      throw new Engine.Failure("CFR's options not understood: " + e.getMessage());
    }
  }
}
