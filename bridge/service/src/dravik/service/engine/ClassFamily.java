package dravik.service.engine;

import java.util.Collections;
import java.util.Map;
import java.util.TreeMap;

/**
 * The class a request shows, with the files of its family (its nested, inner, anonymous and local
 * classes) by their own file names: what the command line finds in the folder it is given. The
 * shown class is taken to be in that folder under its own name, "<simple binary name>.class", as
 * the bridge puts it there.
 */
public final class ClassFamily {
  public final byte[] classBytes;
  /** The shown class's internal name, e.g. "demo/Outer" or "demo/Outer$Inner". */
  public final String internalName;
  /** File name to bytes, in the order of the names, however they came (request or folder). */
  public final Map<String, byte[]> members;

  private ClassFamily(byte[] classBytes, String internalName, Map<String, byte[]> members) {
    this.classBytes = classBytes;
    this.internalName = internalName;
    this.members = members;
  }

  public static ClassFamily of(byte[] classBytes, Map<String, byte[]> members)
      throws Engine.Failure {
    return new ClassFamily(classBytes, ClassFileName.of(classBytes),
        Collections.unmodifiableMap(new TreeMap<>(members)));
  }

  /** "demo/" for demo/Outer, "" for a class in no package. */
  public String packagePrefix() {
    return internalName.substring(0, internalName.lastIndexOf('/') + 1);
  }

  /** "Outer$Inner" for demo/Outer$Inner. */
  public String simpleName() {
    return internalName.substring(internalName.lastIndexOf('/') + 1);
  }

  public String shownFileName() {
    return simpleName() + ".class";
  }

  /**
   * Whether the file of that name holds a class nested in the shown one ("Outer$Inner$Deep.class"
   * in "Outer$Inner.class"; every member in the top-level class).
   */
  public boolean nestedInShown(String fileName) {
    String prefix = simpleName() + "$";
    return fileName.startsWith(prefix) && fileName.endsWith(".class")
        && fileName.length() > prefix.length() + ".class".length();
  }

  /** The bytes of the file of that name in the folder, or null when there is none. */
  public byte[] file(String fileName) {
    return fileName.equals(shownFileName()) ? classBytes : members.get(fileName);
  }
}
