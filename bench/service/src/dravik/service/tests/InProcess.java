package dravik.service.tests;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Paths;
import java.util.List;
import java.util.Map;

/**
 * An engine in the benchmark's own process, as the service runs it (its Engines, ClassFamily and
 * Engine, from its jar) but with no connection, no protocol and no recent sources: the engine's
 * own decompile time, to set a warm request against.
 */
final class InProcess {
  private final Object engine;
  private final Method family;
  private final Method decompile;

  InProcess(String engineName) throws Exception {
    URLClassLoader loader =
        new URLClassLoader(new URL[] {url(OneShot.VINEFLOWER_JAR), url(OneShot.CFR_JAR),
                               url(RunningService.SERVICE_JAR)},
            ClassLoader.getPlatformClassLoader());
    Method named =
        loader.loadClass("dravik.service.Engines").getDeclaredMethod("named", String.class);
    named.setAccessible(true);
    engine = named.invoke(null, engineName);
    Class<?> familyClass = loader.loadClass("dravik.service.engine.ClassFamily");
    family = familyClass.getDeclaredMethod("of", byte[].class, Map.class);
    family.setAccessible(true);
    decompile = loader.loadClass("dravik.service.engine.Engine")
                    .getDeclaredMethod("decompile", familyClass, List.class);
    decompile.setAccessible(true);
  }

  /** The source's bytes; the engine's failure as an exception. */
  byte[] decompile(List<String> options, ShownClass shown) throws Exception {
    try {
      Object source =
          decompile.invoke(engine, family.invoke(null, shown.bytes(), shown.members()), options);
      java.lang.reflect.Field bytes = source.getClass().getDeclaredField("bytes");
      bytes.setAccessible(true);
      return (byte[]) bytes.get(source);
    } catch (InvocationTargetException e) {
      throw new Exception(e.getCause());
    }
  }

  private static URL url(String jar) throws Exception {
    return Paths.get(jar).toUri().toURL();
  }
}
