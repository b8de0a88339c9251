package dravik.service.tests;

import java.io.IOException;
import java.io.InputStream;
import java.net.URI;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.stream.Stream;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;

/**
 * A class as the bridge sends it: its class file and its family, the other files of its top-level
 * class's nest, by their file names (what the bridge puts in the one-shot run's folder).
 */
record ShownClass(String internalName, byte[] bytes, Map<String, byte[]> members) {
  String simpleName() {
    return internalName.substring(internalName.lastIndexOf('/') + 1);
  }

  String fileName() {
    return simpleName() + ".class";
  }

  /** Compiled from tests/data/java or tests/service/java by the build. */
  static ShownClass compiled(String internalName) throws IOException {
    return inFolder(Paths.get(System.getProperty("dravik.data")), internalName);
  }

  /** From the Java runtime running the tests. */
  static ShownClass inRuntime(String module, String internalName) throws IOException {
    Path modules = FileSystems.getFileSystem(URI.create("jrt:/")).getPath("/modules", module);
    return inFolder(modules, internalName);
  }

  static ShownClass inFolder(Path root, String internalName) throws IOException {
    Path folder = root.resolve(internalName).getParent();
    Set<String> files = new TreeSet<>();
    try (Stream<Path> list = Files.list(folder)) {
      list.forEach(file -> files.add(file.getFileName().toString()));
    }
    return of(internalName, files, name -> Files.readAllBytes(folder.resolve(name)));
  }

  static ShownClass inJar(String jar, String internalName) throws IOException {
    String folder = internalName.substring(0, internalName.lastIndexOf('/') + 1);
    try (ZipFile zip = new ZipFile(jar)) {
      Set<String> files = new TreeSet<>();
      zip.stream()
          .map(ZipEntry::getName)
          .filter(n -> n.startsWith(folder) && n.indexOf('/', folder.length()) < 0)
          .forEach(n -> files.add(n.substring(folder.length())));
      return of(internalName, files, name -> {
        try (InputStream in = zip.getInputStream(zip.getEntry(folder + name))) {
          return in.readAllBytes();
        }
      });
    }
  }

  private interface Reader {
    byte[] read(String fileName) throws IOException;
  }

  // The shown file and, of the folder's files, those of its top-level class's nest.
  private static ShownClass of(String internalName, Set<String> folderFiles, Reader reader)
      throws IOException {
    String simple = internalName.substring(internalName.lastIndexOf('/') + 1);
    int leading = simple.length() - simple.replaceFirst("^\\$+", "").length();
    int dollar = simple.indexOf('$', leading);
    String top = dollar < 0 ? simple : simple.substring(0, dollar);
    Map<String, byte[]> members = new LinkedHashMap<>();
    for (String name : folderFiles) {
      boolean nest = name.equals(top + ".class") || name.startsWith(top + "$");
      if (nest && name.endsWith(".class") && !name.equals(simple + ".class")) {
        members.put(name, reader.read(name));
      }
    }
    return new ShownClass(internalName, reader.read(simple + ".class"), members);
  }

  /** The same class with no family sent along. */
  ShownClass alone() {
    return new ShownClass(internalName, bytes, Map.of());
  }
}
