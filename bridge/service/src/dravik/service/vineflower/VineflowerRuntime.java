package dravik.service.vineflower;

import java.io.IOException;
import java.io.InputStream;
import java.net.URI;
import java.nio.file.DirectoryStream;
import java.nio.file.FileSystem;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ConcurrentMap;
import org.jetbrains.java.decompiler.main.extern.IContextSource;

/**
 * The running Java runtime's classes as Vineflower's library, shared by every request. Its command
 * line lists every class of every module in the runtime image for each run (about 100 ms when
 * warm); this finds a class through its package's modules when Vineflower asks for it, which gives
 * the same classes. Only the packages the image has are remembered.
 */
final class VineflowerRuntime implements IContextSource {
  static final VineflowerRuntime INSTANCE = new VineflowerRuntime();

  private final FileSystem image = FileSystems.getFileSystem(URI.create("jrt:/"));
  private final ConcurrentMap<String, List<Path>> modulesOfPackage = new ConcurrentHashMap<>();

  private VineflowerRuntime() {}

  @Override
  public String getName() {
    return "Java runtime current";
  }

  @Override
  public boolean isLazy() {
    return true;
  }

  @Override
  public Entries getEntries() {
    return Entries.EMPTY;
  }

  @Override
  public byte[] getClassBytes(String className) throws IOException {
    int slash = className.lastIndexOf('/');
    if (slash <= 0) {
      return null;
    }
    try {
      for (Path module : modulesOf(className.substring(0, slash).replace('/', '.'))) {
        Path file = module.resolve(className + CLASS_SUFFIX);
        if (Files.isRegularFile(file)) {
          return Files.readAllBytes(file);
        }
      }
    } catch (InvalidPathException e) {
      // A name no class of the image can have.
    }
    return null;
  }

  @Override
  public InputStream getInputStream(String resource) {
    return null;
  }

  private List<Path> modulesOf(String packageName) throws IOException {
    List<Path> known = modulesOfPackage.get(packageName);
    if (known != null) {
      return known;
    }
    List<Path> modules = new ArrayList<>();
    if (packageName.startsWith(".") || packageName.endsWith(".") || packageName.contains("..")) {
      return modules; // no package's name: "." or ".." would list the image's own folders
    }
    try (DirectoryStream<Path> links =
             Files.newDirectoryStream(image.getPath("/packages", packageName))) {
      for (Path link : links) {
        modules.add(image.getPath("/modules", link.getFileName().toString()));
      }
    } catch (NoSuchFileException e) {
      return modules;
    }
    modulesOfPackage.put(packageName, modules);
    return modules;
  }
}
