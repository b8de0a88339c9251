package dravik.service.vineflower;

import dravik.service.engine.Engine;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.jetbrains.java.decompiler.main.decompiler.OptionParser;
import org.jetbrains.java.decompiler.main.extern.IFernflowerPreferences;
import org.jetbrains.java.decompiler.util.JrtFinder;

/**
 * Vineflower's command-line options ("--indent-string=    ", one token each) as its command line
 * reads them, into the settings it gives the decompiler: the same defaults, Vineflower's own
 * parser, and the same rule that the first token that is not an option ends the options. What
 * the service cannot do the command line's way is refused rather than ignored: options that name
 * input, output or another kind of output, or that read classes from elsewhere.
 */
final class VineflowerOptions {
  private static final List<String> NOT_SUPPORTED = Arrays.asList(
      "--file", "--folder", "--legacy-saving", "-h", "--help", "-help", "--list-plugins");
  private static final List<String> NOT_SUPPORTED_SETTINGS =
      Arrays.asList(IFernflowerPreferences.INCLUDE_ENTIRE_CLASSPATH,
          IFernflowerPreferences.USER_RENAMER_CLASS, IFernflowerPreferences.DUMP_TEXT_TOKENS);

  static {
    // The parser fills its table of short names on first use, unguarded: once, here, before two
    // workers can race to it.
    OptionParser.parseShort("-ren=0", new HashMap<String, Object>());
  }

  private VineflowerOptions() {}

  static Map<String, Object> parse(List<String> options) throws Engine.Failure {
    Map<String, Object> settings = new HashMap<>();
    settings.put(IFernflowerPreferences.INCLUDE_JAVA_RUNTIME, JrtFinder.CURRENT);
    boolean inOptions = true;
    for (String option : options) {
      if (NOT_SUPPORTED.contains(option) || option.startsWith("-cfg")) {
        throw new Engine.Failure(option + " is not supported by the service.");
      }
      if (inOptions && option.length() > 5 && option.startsWith("-")
          && OptionParser.parse(option, settings)) {
        continue;
      }
      inOptions = false;
      if (option.equals("-s") || option.equals("--silent")) {
        settings.put(IFernflowerPreferences.LOG_LEVEL, "error");
      } else if (option.startsWith("-only=") || option.startsWith("--only=")) {
        throw new Engine.Failure("The service names the class to decompile itself: " + option);
      } else if (option.startsWith("-e=") || option.startsWith("--add-external=")) {
        throw new Engine.Failure("The service reads no other classes: " + option);
      } else {
        throw new Engine.Failure(
            "The service takes the class as bytes, not as a file or folder: " + option);
      }
    }
    Object runtime = settings.get(IFernflowerPreferences.INCLUDE_JAVA_RUNTIME);
    if (!JrtFinder.CURRENT.equals(runtime) && !"1".equals(runtime) && !"0".equals(runtime)) {
      throw new Engine.Failure("The service reads no Java runtime but its own: --"
          + IFernflowerPreferences.INCLUDE_JAVA_RUNTIME + "=" + runtime);
    }
    for (String setting : NOT_SUPPORTED_SETTINGS) {
      Object value = settings.get(setting);
      if (value != null && !"0".equals(value)) {
        throw new Engine.Failure("--" + setting + " is not supported by the service.");
      }
    }
    return settings;
  }
}
