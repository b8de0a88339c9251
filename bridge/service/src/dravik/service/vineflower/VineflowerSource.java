package dravik.service.vineflower;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.LineColumn;
import dravik.service.engine.WrittenFiles;
import java.io.ByteArrayInputStream;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.jetbrains.java.decompiler.main.extern.IContextSource;
import org.jetbrains.java.decompiler.main.extern.IResultSaver;

/**
 * A folder Vineflower's command line is given, in memory: the source folder holds the request's
 * class and the classes nested in it, the context folder (given with -e) the rest of its family,
 * each by their file names in the folders of their package (demo/Outer.class), as a compiler
 * leaves them. What Vineflower writes for the source goes to WrittenFiles, in UTF-8 as the command
 * line's folder output writes it, under the entry's name as the command line names the file.
 */
final class VineflowerSource implements IContextSource {
  private static final String CLASS_SUFFIX = ".class";

  private final ClassFamily family;
  private final boolean context;
  private final boolean column;
  private final WrittenFiles written = new WrittenFiles();

  private VineflowerSource(ClassFamily family, boolean context, boolean column) {
    this.family = family;
    this.context = context;
    this.column = column;
  }

  /** The class and the classes nested in it; with column, written with the line numbers' column. */
  static VineflowerSource shown(ClassFamily family, boolean column) {
    return new VineflowerSource(family, false, column);
  }

  /** The rest of the family; null when there is none, as the command line then has no -e. */
  static VineflowerSource context(ClassFamily family) {
    for (String file : family.members.keySet()) {
      if (!family.nestedInShown(file) && !file.equals(family.shownFileName())) {
        return new VineflowerSource(family, true, false);
      }
    }
    return null;
  }

  WrittenFiles written() {
    return written;
  }

  @Override
  public String getName() {
    return (context ? "the rest of the family of " : "the request's ") + family.internalName;
  }

  @Override
  public Entries getEntries() {
    List<Entry> classes = new ArrayList<>();
    String folders = family.packagePrefix();
    if (!context) {
      classes.add(Entry.atBase(folders + family.simpleName()));
    }
    for (String file : family.members.keySet()) {
      if (file.endsWith(CLASS_SUFFIX) && !file.equals(family.shownFileName())
          && family.nestedInShown(file) != context) {
        classes.add(
            Entry.atBase(folders + file.substring(0, file.length() - CLASS_SUFFIX.length())));
      }
    }
    return new Entries(classes, Collections.<String>emptyList(), Collections.<Entry>emptyList());
  }

  @Override
  public byte[] getClassBytes(String className) {
    return family.file(inFolder(className + CLASS_SUFFIX));
  }

  @Override
  public InputStream getInputStream(String resource) {
    byte[] bytes = family.file(inFolder(resource));
    return bytes == null ? null : new ByteArrayInputStream(bytes);
  }

  // A name under the package's folders as the family's file name; null for any other.
  private String inFolder(String path) {
    String folders = family.packagePrefix();
    return path.startsWith(folders) && path.indexOf('/', folders.length()) < 0
        ? path.substring(folders.length())
        : null;
  }

  // Vineflower's mapping, pairs of an original line and the line written (1 for the first), as
  // each line's number: the lowest of those it was given.
  private static Map<Integer, Integer> lines(int[] mapping) {
    Map<Integer, Integer> lines = new HashMap<>();
    for (int i = 0; mapping != null && i + 1 < mapping.length; i += 2) {
      Integer known = lines.get(mapping[i + 1]);
      if (known == null || mapping[i] < known) {
        lines.put(mapping[i + 1], mapping[i]);
      }
    }
    return lines;
  }

  @Override
  public IOutputSink createOutputSink(IResultSaver saver) {
    return new IOutputSink() {
      @Override
      public void begin() {}

      @Override
      public void acceptClass(
          String qualifiedName, String fileName, String content, int[] mapping) {
        if (content != null) {
          String text = column ? LineColumn.of(content, lines(mapping)) : content;
          written.add(fileName, text.getBytes(StandardCharsets.UTF_8));
        }
      }

      @Override
      public void acceptDirectory(String directory) {}

      @Override
      public void acceptOther(String path) {}

      @Override
      public void close() {}
    };
  }
}
