package dravik.service;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.TreeMap;

/**
 * The bridge's one-shot run: one class decompiled in a Java runtime started for it, by the same
 * engine code the service runs, so that both give the same source.
 *
 * <pre>
 * java -cp &lt;vineflower.jar, cfr.jar and this jar&gt; dravik.service.DecompileOnce
 *      ENGINE CLASS_FILE OUT_FOLDER [OPTION...]
 * </pre>
 *
 * ENGINE is "vineflower" or "cfr", the options are those a request names. The class's family is
 * the class files of its folder that share its name up to the first '$' (Outer$Inner.class for
 * Outer.class). The source goes to OUT_FOLDER under the path an answer names ("Outer.java",
 * "demo/Outer.java"). Exit codes: 0 source written, 1 no source (why on the error stream), 2 bad
 * arguments.
 */
public final class DecompileOnce {
  private DecompileOnce() {}

  public static void main(String[] args) {
    if (args.length < 3) {
      System.err.println("usage: DecompileOnce ENGINE CLASS_FILE OUT_FOLDER [OPTION...]");
      System.exit(2);
      return;
    }
    try {
      Path classFile = Paths.get(args[1]);
      ClassFamily family = ClassFamily.of(Files.readAllBytes(classFile), family(classFile));
      List<String> options = Arrays.asList(args).subList(3, args.length);
      Engine.Source source = Engines.named(args[0]).decompile(family, options);
      Path out = Paths.get(args[2]).resolve(source.relativePath.replace('/', File.separatorChar));
      Files.createDirectories(out.getParent());
      Files.write(out, source.bytes);
    } catch (Engine.Failure e) {
      System.err.println(e.getMessage());
      System.exit(1);
    } catch (IOException | RuntimeException | Error e) {
      System.err.println(args[0] + " failed on this class: " + e);
      System.exit(1);
    }
  }

  private static Map<String, byte[]> family(Path classFile) throws IOException {
    Map<String, byte[]> members = new TreeMap<>();
    String own = classFile.getFileName().toString();
    String prefix = familyName(own) + "$";
    File[] files = classFile.toAbsolutePath().getParent().toFile().listFiles();
    for (File file : files == null ? new File[0] : files) {
      String name = file.getName();
      if (name.startsWith(prefix) && name.toLowerCase(Locale.ROOT).endsWith(".class")
          && !name.equals(own) && file.isFile()) {
        members.put(name, Files.readAllBytes(file.toPath()));
      }
    }
    return members;
  }

  // "Outer" for Outer.class and Outer$1Local.class, "$Outer" for $Outer$Inner.class.
  private static String familyName(String fileName) {
    int leading = 0;
    while (leading < fileName.length() && fileName.charAt(leading) == '$') {
      leading++;
    }
    int dollar = fileName.indexOf('$', leading);
    int end = fileName.lastIndexOf('.');
    return fileName.substring(0, dollar >= 0 ? dollar : end >= 0 ? end : fileName.length());
  }
}
