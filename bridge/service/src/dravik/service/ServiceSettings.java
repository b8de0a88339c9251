package dravik.service;

import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * The service's command line: where the port file goes, its time limits in seconds (the quiet
 * seconds: how long after the last request it gives back the heap) and the bound of its recent
 * sources in MiB (fractions allowed, so that tests can make them small).
 */
final class ServiceSettings {
  final Path portFile;
  final long idleMillis;
  final long readTimeoutMillis;
  final long requestLimitMillis;
  final long quietMillis;
  final long cacheBytes;
  /** The bridge's key of the settings it started this service with ("" for none). */
  final String settingsKey;

  private ServiceSettings(Path portFile, long idleMillis, long readTimeoutMillis,
      long requestLimitMillis, long quietMillis, long cacheBytes, String settingsKey) {
    this.portFile = portFile;
    this.idleMillis = idleMillis;
    this.readTimeoutMillis = readTimeoutMillis;
    this.requestLimitMillis = requestLimitMillis;
    this.quietMillis = quietMillis;
    this.cacheBytes = cacheBytes;
    this.settingsKey = settingsKey;
  }

  static final String USAGE =
      "--port-file PATH [--idle-seconds N (600)] [--read-timeout-seconds N (10)]"
      + " [--request-limit-seconds N (120)] [--quiet-seconds N (30)] [--cache-megabytes N (64)]"
      + " [--settings KEY]";

  /** Throws IllegalArgumentException with the reason when the arguments are not usable. */
  static ServiceSettings parse(String[] args) {
    Path portFile = null;
    long idle = 600_000;
    long readTimeout = 10_000;
    long requestLimit = 120_000;
    long quiet = 30_000;
    long cacheBytes = 64L << 20;
    String settingsKey = "";
    for (int i = 0; i < args.length; i += 2) {
      if (i + 1 >= args.length) {
        throw new IllegalArgumentException(args[i] + " needs a value");
      }
      String value = args[i + 1];
      switch (args[i]) {
        case "--port-file":
          portFile = Paths.get(value).toAbsolutePath();
          break;
        case "--idle-seconds":
          idle = millis(args[i], value);
          break;
        case "--read-timeout-seconds":
          readTimeout = millis(args[i], value);
          break;
        case "--request-limit-seconds":
          requestLimit = millis(args[i], value);
          break;
        case "--quiet-seconds":
          quiet = millis(args[i], value);
          break;
        case "--cache-megabytes":
          cacheBytes = Math.round(number(args[i], value, 0, 4096) * (1 << 20));
          break;
        case "--settings":
          if (value.length() > Protocol.MAX_SETTINGS_KEY_BYTES) {
            throw new IllegalArgumentException(
                "--settings is longer than " + Protocol.MAX_SETTINGS_KEY_BYTES + " characters");
          }
          settingsKey = value;
          break;
        default:
          throw new IllegalArgumentException("unknown argument " + args[i]);
      }
    }
    if (portFile == null) {
      throw new IllegalArgumentException("--port-file is required");
    }
    return new ServiceSettings(
        portFile, idle, readTimeout, requestLimit, quiet, cacheBytes, settingsKey);
  }

  // Seconds, from a thousandth to a day, as milliseconds.
  private static long millis(String name, String value) {
    return Math.round(number(name, value, 0.001, 86400) * 1000);
  }

  private static double number(String name, String value, double least, double most) {
    double number;
    try {
      number = Double.parseDouble(value);
    } catch (NumberFormatException e) {
      throw new IllegalArgumentException(name + " takes a number, not " + value);
    }
    if (!(number >= least && number <= most)) {
      throw new IllegalArgumentException(name + " must be between " + least + " and " + most);
    }
    return number;
  }
}
