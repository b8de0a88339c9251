package dravik.service.engine;

import java.util.ArrayList;
import java.util.List;

/**
 * The files an engine's command line would have written under its output folder, and of them the
 * one the bridge takes: "<simple binary name>.java" (".kt" for a class Vineflower's Kotlin plugin
 * writes as Kotlin), from wherever it lies.
 */
public final class WrittenFiles {
  private final List<Engine.Source> files = new ArrayList<>();

  public void add(String relativePath, byte[] bytes) {
    files.add(new Engine.Source(relativePath, bytes));
  }

  public boolean isEmpty() {
    return files.isEmpty();
  }

  public Engine.Source sourceFor(ClassFamily family, String engine) throws Engine.Failure {
    String wanted = family.simpleName() + ".java";
    String kotlin = family.simpleName() + ".kt";
    List<String> paths = new ArrayList<>();
    for (Engine.Source file : files) {
      String path = file.relativePath;
      String name = path.substring(path.lastIndexOf('/') + 1);
      if (name.equals(wanted) || name.equals(kotlin)) {
        return file;
      }
      paths.add(path);
    }
    throw new Engine.Failure(engine + " wrote no " + wanted
        + (paths.isEmpty() ? " (nothing at all)." : "; it wrote " + paths + "."));
  }
}
