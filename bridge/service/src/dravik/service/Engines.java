package dravik.service;

import dravik.service.cfr.CfrEngine;
import dravik.service.engine.Engine;

/**
 * The engines a request can name. Vineflower's classes are built for Java 17: its engine is loaded
 * by name, and only on a runtime that can load them, so that on an older one nothing links to it.
 * CFR runs on any.
 */
final class Engines {
  static final String VINEFLOWER = "vineflower";
  static final String CFR = "cfr";
  static final int VINEFLOWER_JAVA = 17;

  private static final Engine CFR_ENGINE = new CfrEngine();
  private static volatile Engine vineflowerEngine;

  private Engines() {}

  static Engine named(String name) throws Engine.Failure {
    if (CFR.equals(name)) {
      return CFR_ENGINE;
    }
    if (VINEFLOWER.equals(name)) {
      return vineflower();
    }
    throw new Engine.Failure(
        "No engine named \"" + name + "\"; the service has " + VINEFLOWER + " and " + CFR + ".");
  }

  /** The engine the bridge uses on the runtime this service runs on. */
  static String ofThisRuntime() {
    return javaFeatureVersion() >= VINEFLOWER_JAVA ? VINEFLOWER : CFR;
  }

  private static Engine vineflower() throws Engine.Failure {
    if (javaFeatureVersion() < VINEFLOWER_JAVA) {
      throw new Engine.Failure("Vineflower needs Java " + VINEFLOWER_JAVA + " or newer.");
    }
    Engine engine = vineflowerEngine;
    if (engine == null) {
      try {
        engine = Class.forName("dravik.service.vineflower.VineflowerEngine")
                     .asSubclass(Engine.class)
                     .getDeclaredConstructor()
                     .newInstance();
      } catch (ReflectiveOperationException e) {
        throw new Engine.Failure("Vineflower could not be loaded: " + e);
      }
      vineflowerEngine = engine;
    }
    return engine;
  }

  // 8 for "1.8.0_392", 17 for "17.0.15" or "17-ea".
  static int javaFeatureVersion() {
    String version = System.getProperty("java.version", "1.8");
    if (version.startsWith("1.")) {
      version = version.substring(2);
    }
    int digits = 0;
    while (digits < version.length() && Character.isDigit(version.charAt(digits))) {
      digits++;
    }
    return digits == 0 ? 8 : Integer.parseInt(version.substring(0, Math.min(digits, 9)));
  }
}
