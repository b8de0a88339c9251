package dravik.service.cfr;

import dravik.service.engine.ClassFamily;
import java.io.IOException;
import java.util.Collection;
import java.util.function.BooleanSupplier;
import org.benf.cfr.reader.apiunreleased.ClassFileSource2;
import org.benf.cfr.reader.apiunreleased.JarContent;
import org.benf.cfr.reader.bytecode.analysis.parse.utils.Pair;
import org.benf.cfr.reader.util.AnalysisType;

/**
 * The class files CFR reads for one request, found as its command line finds them when given
 * FOLDER/Name.class: a class path under the shown class's package ("demo/Outer$Inner.class") is
 * looked for in that folder first, which holds the request's family, then in CFR's class path
 * (CfrClassPath). Once stopped, every read fails: CFR, which cannot be stopped otherwise, then
 * gives up on what it was doing.
 */
final class CfrClassFiles implements ClassFileSource2 {
  // Where the shown class is said to be; ';' cannot be part of a class's name.
  private static final String FOLDER = ";request/";

  private final ClassFamily family;
  private final boolean parameterNames;
  private final BooleanSupplier stopped;

  /** With parameterNames, the request's classes name their parameters (CfrParameterNames). */
  CfrClassFiles(ClassFamily family, boolean parameterNames, BooleanSupplier stopped) {
    this.family = family;
    this.parameterNames = parameterNames;
    this.stopped = stopped;
  }

  /** The path to give CFR for the shown class, as the command line gives FOLDER/Name.class. */
  String shownPath() {
    return FOLDER + family.shownFileName();
  }

  @Override
  public Pair<byte[], String> getClassFileContent(String path) throws IOException {
    if (stopped.getAsBoolean()) {
      throw new IOException("Stopped: nobody waits for this source any more.");
    }
    byte[] bytes = path.equals(shownPath()) ? family.classBytes : inFolder(path);
    if (bytes != null && parameterNames) {
      bytes = CfrParameterNames.named(bytes);
    }
    if (bytes == null) {
      bytes = CfrClassPath.read(path);
    }
    if (bytes == null) {
      throw new IOException("No such file " + path);
    }
    return Pair.make(bytes, path);
  }

  // The command line takes the shown class's package off a class's path and looks for the rest
  // in the folder it was given.
  private byte[] inFolder(String path) {
    String prefix = family.packagePrefix();
    String rest = path.startsWith(prefix) ? path.substring(prefix.length()) : path;
    return rest.indexOf('/') < 0 ? family.file(rest) : null;
  }

  @Override
  public void informAnalysisRelativePathDetail(String usePath, String classFilePath) {
    // The family is found by the shown class's package (inFolder), whatever path CFR reports.
  }

  @Override
  public String getPossiblyRenamedPath(String path) {
    return path;
  }

  @Override
  public Collection<String> addJar(String jarPath) {
    throw new UnsupportedOperationException("The service decompiles a class, not a jar.");
  }

  @Override
  public JarContent addJarContent(String jarPath, AnalysisType analysisType) {
    throw new UnsupportedOperationException("The service decompiles a class, not a jar.");
  }
}
