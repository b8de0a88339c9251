package dravik.service;

import com.strobel.assembler.metadata.MetadataSystem;
import com.strobel.assembler.metadata.TypeDefinition;
import java.lang.ref.SoftReference;

/**
 * The Java library's types as Procyon reads them, kept between requests: reading them again for
 * each class (String, List, the class's supertypes...) was most of a warm request's time. Each
 * worker thread has its own, as Procyon's types are not made to be shared between threads. The set
 * is held softly, so the collector drops it (between requests) when the heap runs short, and it is
 * started afresh once it has read a bound of class files; about 40 KB a type were seen.
 */
final class RuntimeTypes extends MetadataSystem {
  private static final int MAX_CLASS_FILES = 4000;
  private static final ThreadLocal<SoftReference<RuntimeTypes>> PER_WORKER = new ThreadLocal<>();

  private final RuntimeClassFiles classFiles;

  private RuntimeTypes(RuntimeClassFiles loader) {
    super(loader);
    this.classFiles = loader;
  }

  private static final String[] LIBRARY_PACKAGES = {"java/", "javax/", "jdk/", "sun/", "com/sun/"};

  /** Whether a type of this name is the Java library's, and so kept here. */
  static boolean holds(String internalName) {
    for (String prefix : LIBRARY_PACKAGES) {
      if (internalName.startsWith(prefix)) {
        return true;
      }
    }
    return false;
  }

  /** The calling worker's types; a fresh set when there are none yet or too many. */
  static RuntimeTypes forThisWorker() {
    SoftReference<RuntimeTypes> held = PER_WORKER.get();
    RuntimeTypes types = held == null ? null : held.get();
    if (types == null || types.classFiles.found() > MAX_CLASS_FILES) {
      types = new RuntimeTypes(new RuntimeClassFiles());
      PER_WORKER.set(new SoftReference<>(types));
    }
    return types;
  }

  /** A type of the runtime's classes, or null when they hold none of that name. */
  TypeDefinition find(String descriptor, boolean mightBePrimitive) {
    return resolveType(descriptor, mightBePrimitive);
  }
}
