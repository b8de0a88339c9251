package dravik.service;

import com.strobel.assembler.metadata.Buffer;
import com.strobel.assembler.metadata.ClasspathTypeLoader;
import com.strobel.assembler.metadata.ITypeLoader;

/**
 * The runtime's class files, where the command line finds every type that is not beside the class
 * it decompiles. A name that could lead outside them is not looked up, so a request cannot make the
 * service read a file of its choosing. Counts the types it found.
 */
final class RuntimeClassFiles implements ITypeLoader {
  private final ITypeLoader classpath = new ClasspathTypeLoader();
  private int found;

  int found() {
    return found;
  }

  @Override
  public boolean tryLoadType(String name, Buffer buffer) {
    if (name.isEmpty() || name.startsWith("/") || name.contains("..") || name.contains("\\")
        || name.contains(":")) {
      return false;
    }
    if (!classpath.tryLoadType(name, buffer)) {
      return false;
    }
    found++;
    return true;
  }
}
