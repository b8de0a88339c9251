package dravik.service.vineflower;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import dravik.service.engine.KotlinAnnotationLines;
import dravik.service.engine.LineColumn;
import java.util.List;
import java.util.Map;
import java.util.function.BooleanSupplier;
import java.util.jar.Manifest;
import org.jetbrains.java.decompiler.main.DecompilerContext;
import org.jetbrains.java.decompiler.main.Fernflower;
import org.jetbrains.java.decompiler.main.decompiler.CancelationManager;
import org.jetbrains.java.decompiler.main.extern.IFernflowerLogger;
import org.jetbrains.java.decompiler.main.extern.IFernflowerPreferences;
import org.jetbrains.java.decompiler.main.extern.IResultSaver;

/**
 * Vineflower in this process, as "java -jar vineflower.jar OPTIONS --only=NAME [-e=CONTEXT] FOLDER
 * OUT" runs it: the same settings, the shown class and the classes nested in it as the source, the
 * rest of its family and the Java runtime's classes as libraries, and only the shown class (with
 * what nests in it) written; with -lnc, the original line numbers in a column (LineColumn); with
 * --kotlin-lines=1, Kotlin's annotations in a line each (KotlinAnnotationLines). Loaded by Engines on Java 17 and newer only. A decompile nobody waits for any more ends at
 * Vineflower's next check for cancellation (each method, each class).
 */
public final class VineflowerEngine implements Engine {
  // The settings' key under which a decompile keeps its stopped: Vineflower's check for
  // cancellation is one for the whole process, and its threads for one decompile share the
  // settings.
  private static final String STOPPED = "dravik-stopped";

  static {
    CancelationManager.setCancelationChecker(VineflowerEngine::giveUpIfStopped);
  }

  @Override
  public Source decompile(ClassFamily family, List<String> options, BooleanSupplier stopped)
      throws Failure {
    Map<String, Object> settings = VineflowerOptions.parse(
        KotlinAnnotationLines.enginesOptions(LineColumn.enginesOptions(options)));
    // The runtime's classes come from the shared library, not from a listing of the whole image
    // made for this request alone.
    boolean runtime = !"0".equals(settings.put(IFernflowerPreferences.INCLUDE_JAVA_RUNTIME, "0"));
    boolean column = LineColumn.asked(options);
    if (column) {
      // The column is made from the mapping the sink is given; "// 16" at line ends would stay.
      settings.put(IFernflowerPreferences.BYTECODE_SOURCE_MAPPING, "1");
      settings.put(IFernflowerPreferences.DUMP_ORIGINAL_LINES, "0");
    }
    VineflowerSource source = VineflowerSource.shown(family, column);
    VineflowerSource context = VineflowerSource.context(family);
    settings.put(STOPPED, stopped);
    if (stopped.getAsBoolean()) {
      throw new Stopped();
    }
    Fernflower fernflower = new Fernflower(new NoFiles(), settings, new NoLog());
    try {
      if (context != null) {
        fernflower.addLibrary(context);
      }
      if (runtime) {
        fernflower.addLibrary(VineflowerRuntime.INSTANCE);
      }
      fernflower.addSource(source);
      fernflower.addWhitelist(family.internalName);
      fernflower.decompileContext();
    } catch (CancelationManager.CanceledException e) {
      throw new Stopped();
    } finally {
      fernflower.clearContext();
    }
    // Vineflower may have passed over a class it was told to give up on.
    if (stopped.getAsBoolean()) {
      throw new Stopped();
    }
    return KotlinAnnotationLines.applied(options, source.written().sourceFor(family, "Vineflower"));
  }

  private static void giveUpIfStopped() {
    DecompilerContext context = DecompilerContext.getCurrentContext();
    Object stopped = context == null ? null : context.properties.get(STOPPED);
    if (stopped instanceof BooleanSupplier && ((BooleanSupplier) stopped).getAsBoolean()) {
      CancelationManager.cancel();
    }
  }

  // The source's own output sink takes the classes; nothing is written to disk.
  private static final class NoFiles implements IResultSaver {
    @Override
    public void saveFolder(String path) {}

    @Override
    public void copyFile(String source, String path, String entryName) {}

    @Override
    public void saveClassFile(
        String path, String qualifiedName, String entryName, String content, int[] mapping) {}

    @Override
    public void createArchive(String path, String archiveName, Manifest manifest) {}

    @Override
    public void saveDirEntry(String path, String archiveName, String entryName) {}

    @Override
    public void copyEntry(String source, String path, String archiveName, String entry) {}

    @Override
    public void saveClassEntry(
        String path, String archiveName, String qualifiedName, String entryName, String content) {}

    @Override
    public void closeArchive(String path, String archiveName) {}
  }

  // The command line prints Vineflower's messages; the service has no one to show them to.
  private static final class NoLog extends IFernflowerLogger {
    @Override
    public void writeMessage(String message, Severity severity) {}

    @Override
    public void writeMessage(String message, Severity severity, Throwable t) {}
  }
}
