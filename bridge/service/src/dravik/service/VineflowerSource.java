package dravik.service;

import java.io.ByteArrayInputStream;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import org.jetbrains.java.decompiler.main.extern.IContextSource;
import org.jetbrains.java.decompiler.main.extern.IResultSaver;

/**
 * The folder Vineflower's command line is given, in memory: the request's class and its family by
 * their file names. What Vineflower writes for it goes to WrittenFiles, in UTF-8 as the command
 * line's folder output writes it, under the entry's name as the command line names the file.
 */
final class VineflowerSource implements IContextSource {
  private static final String CLASS_SUFFIX = ".class";

  private final ClassFamily family;
  private final WrittenFiles written = new WrittenFiles();

  VineflowerSource(ClassFamily family) {
    this.family = family;
  }

  WrittenFiles written() {
    return written;
  }

  @Override
  public String getName() {
    return "the request's " + family.internalName + " and its family";
  }

  @Override
  public Entries getEntries() {
    List<Entry> classes = new ArrayList<>();
    classes.add(Entry.atBase(family.simpleName()));
    for (String file : family.members.keySet()) {
      if (file.endsWith(CLASS_SUFFIX) && !file.equals(family.shownFileName())) {
        classes.add(Entry.atBase(file.substring(0, file.length() - CLASS_SUFFIX.length())));
      }
    }
    return new Entries(classes, Collections.<String>emptyList(), Collections.<Entry>emptyList());
  }

  @Override
  public byte[] getClassBytes(String className) {
    return family.file(className + CLASS_SUFFIX);
  }

  @Override
  public InputStream getInputStream(String resource) {
    byte[] bytes = family.file(resource);
    return bytes == null ? null : new ByteArrayInputStream(bytes);
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
          written.add(fileName, content.getBytes(StandardCharsets.UTF_8));
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
