package dravik.service.cfr;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.Enumeration;
import java.util.HashSet;
import java.util.Set;
import org.benf.cfr.reader.api.CfrDriver;

/**
 * The class files that CFR's command line ("java -jar cfr.jar") finds beyond its input's folder:
 * those in its class path, which is CFR's jar alone, then those of the boot class path on Java 8
 * or of the runtime image on newer ones. They are read through the class loader, so a name from a
 * class file cannot lead anywhere else; the service's own jars are on its class path but not on the
 * command line's, and are passed over.
 */
final class CfrClassPath {
  private static final String CFR_JAR =
      inJar(CfrDriver.class.getProtectionDomain().getCodeSource().getLocation().toString());
  private static final Set<String> BOOT_JARS = bootJars();

  private CfrClassPath() {}

  /** The bytes of a class file by its path, e.g. "java/lang/String.class", or null. */
  static byte[] read(String path) throws IOException {
    Enumeration<URL> found = ClassLoader.getSystemClassLoader().getResources(path);
    URL runtime = null;
    while (found.hasMoreElements()) {
      URL url = found.nextElement();
      if (url.toString().startsWith(CFR_JAR)) {
        return readAll(url);
      }
      if (runtime == null && ofRuntime(url)) {
        runtime = url;
      }
    }
    return runtime == null ? null : readAll(runtime);
  }

  private static boolean ofRuntime(URL url) {
    if ("jrt".equals(url.getProtocol())) {
      return true;
    }
    String text = url.toString();
    int end = text.indexOf("!/");
    return end > 0 && BOOT_JARS.contains(text.substring(0, end + 2));
  }

  // Java 8's runtime classes: the jars the command line adds from sun.boot.class.path.
  private static Set<String> bootJars() {
    Set<String> jars = new HashSet<>();
    String bootPath = System.getProperty("sun.boot.class.path");
    if (bootPath != null) {
      for (String jar : bootPath.split(File.pathSeparator)) {
        try {
          jars.add(inJar(new File(jar).toURI().toURL().toString()));
        } catch (MalformedURLException e) {
          // A boot class path entry that is no file: nothing is read from it.
        }
      }
    }
    return jars;
  }

  private static String inJar(String jarUrl) {
    return "jar:" + jarUrl + "!/";
  }

  private static byte[] readAll(URL url) throws IOException {
    try (InputStream in = url.openStream()) {
      ByteArrayOutputStream bytes = new ByteArrayOutputStream();
      byte[] buffer = new byte[8192];
      for (int n; (n = in.read(buffer)) > 0;) {
        bytes.write(buffer, 0, n);
      }
      return bytes.toByteArray();
    }
  }
}
