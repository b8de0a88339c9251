package dravik.service;

import com.strobel.assembler.metadata.Buffer;
import com.strobel.assembler.metadata.ITypeLoader;
import com.strobel.assembler.metadata.MetadataSystem;
import com.strobel.assembler.metadata.TypeDefinition;
import java.util.HashSet;
import java.util.Set;

/**
 * The types one request sees: its class, read from the bytes it came as, and every other type from
 * the runtime's class files, as the command line sees them for a class file alone in its folder.
 * The Java library's types come from the worker's RuntimeTypes, read once; the class itself, its
 * nested classes and everything else are read for this request alone, so that nothing an earlier
 * request left behind can change this one's source. Types that were not found are not looked for
 * again, as in the command line's metadata system.
 */
final class RequestTypes extends MetadataSystem {
  private final String internalName;
  private final String entryName;
  private final RuntimeTypes runtime;
  private final Set<String> failedTypes = new HashSet<>();

  private RequestTypes(String internalName, ClassBytesLoader loader, RuntimeTypes runtime) {
    super(loader);
    this.internalName = internalName;
    this.entryName = loader.entryName;
    this.runtime = runtime;
  }

  /**
   * The types for one class. A class of the Java library itself (a JDK class file) shares nothing:
   * its enclosing and sibling types are library types too, and must be read afresh with it.
   */
  static RequestTypes of(String internalName, byte[] classBytes) {
    RuntimeTypes runtime = RuntimeTypes.holds(internalName) ? null : RuntimeTypes.forThisWorker();
    return new RequestTypes(internalName, new ClassBytesLoader(internalName, classBytes), runtime);
  }

  /**
   * The name to look the request's class up by first. The command line looks it up by its file's
   * path, so its first copy is held under that key and a lookup by its class name reads a second
   * copy; a key of its own keeps that the same here. A ';' cannot be part of a class name.
   */
  String entryName() {
    return entryName;
  }

  @Override
  protected TypeDefinition resolveType(String descriptor, boolean mightBePrimitive) {
    if (failedTypes.contains(descriptor)) {
      return null;
    }
    boolean own = descriptor.equals(entryName) || descriptor.equals(internalName)
        || descriptor.startsWith(internalName + "$");
    TypeDefinition result = runtime != null && !own && RuntimeTypes.holds(descriptor)
        ? runtime.find(descriptor, mightBePrimitive)
        : super.resolveType(descriptor, mightBePrimitive);
    if (result == null) {
      failedTypes.add(descriptor);
    }
    return result;
  }

  /**
   * Serves the class's bytes under its entry key and its name, filled as Procyon's file loader
   * fills a buffer, and other names from the runtime's class files: the class's type definition
   * reads its nested classes through it.
   */
  private static final class ClassBytesLoader implements ITypeLoader {
    private final String internalName;
    private final String entryName;
    private final byte[] classBytes;
    private final ITypeLoader runtimeClassFiles = new RuntimeClassFiles();

    ClassBytesLoader(String internalName, byte[] classBytes) {
      this.internalName = internalName;
      this.entryName = ";request/" + internalName + ".class";
      this.classBytes = classBytes;
    }

    @Override
    public boolean tryLoadType(String name, Buffer buffer) {
      if (!name.equals(entryName) && !name.equals(internalName)) {
        return runtimeClassFiles.tryLoadType(name, buffer);
      }
      buffer.position(0);
      buffer.reset(classBytes.length);
      System.arraycopy(classBytes, 0, buffer.array(), 0, classBytes.length);
      buffer.advance(classBytes.length);
      buffer.position(0);
      return true;
    }
  }
}
