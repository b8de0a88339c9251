package dravik.service.cfr;

import dravik.service.engine.ClassFamily;
import dravik.service.engine.Engine;
import dravik.service.engine.JadNamesFromTypes;
import dravik.service.engine.KotlinAnnotationLines;
import dravik.service.engine.LineColumn;
import dravik.service.engine.WrittenFiles;
import java.nio.charset.Charset;
import java.nio.charset.IllegalCharsetNameException;
import java.nio.charset.UnsupportedCharsetException;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.function.BooleanSupplier;
import org.benf.cfr.reader.api.CfrDriver;
import org.benf.cfr.reader.util.getopt.Options;
import org.benf.cfr.reader.util.getopt.OptionsImpl;

/**
 * CFR in this process, as "java -jar cfr.jar FOLDER/Name.class --outputdir OUT OPTIONS" runs it:
 * the same driver on the same class files, its file written in the same charset (the default one,
 * or --outputencoding's); with -lnc, the original line numbers in a column (LineColumn); with
 * --jad-names-for-unnamed=1, Jad-style names for the parameters the class does not name
 * (CfrParameterNames); with --kotlin-lines=1, Kotlin's annotations in a line each
 * (KotlinAnnotationLines). CFR has no way to be stopped: a decompile nobody waits for any more gives
 * up before it begins and, once begun, at the next class CFR reads (CfrClassFiles).
 */
public final class CfrEngine implements Engine {
  @Override
  public Source decompile(ClassFamily family, List<String> options, BooleanSupplier stopped)
      throws Failure {
    boolean column = LineColumn.asked(options);
    List<String> own = new ArrayList<>(
        KotlinAnnotationLines.enginesOptions(LineColumn.enginesOptions(options)));
    boolean names = own.removeAll(Collections.singletonList(JadNamesFromTypes.ASKED));
    Options parsed = CfrOptions.parse(own, column);
    Charset charset = charsetOf(parsed);
    if (stopped.getAsBoolean()) {
      throw new Stopped();
    }
    CfrClassFiles classFiles = new CfrClassFiles(family, names, stopped);
    CfrOutput output = new CfrOutput(column);
    CfrDriver driver = new CfrDriver.Builder()
                           .withClassFileSource(classFiles)
                           .withOutputSink(output)
                           .withBuiltOptions(parsed)
                           .build();
    driver.analyse(Collections.singletonList(classFiles.shownPath()));
    if (stopped.getAsBoolean()) {
      throw new Stopped();
    }
    WrittenFiles files = output.files(charset);
    if (files.isEmpty() && output.exception() != null) {
      throw new Failure("CFR failed on this class: " + output.exception());
    }
    return KotlinAnnotationLines.applied(options, files.sourceFor(family, "CFR"));
  }

  private static Charset charsetOf(Options options) throws Failure {
    String name = options.getOption(OptionsImpl.OUTPUT_ENCODING);
    if (name == null) {
      return Charset.defaultCharset();
    }
    try {
      return Charset.forName(name);
    } catch (IllegalCharsetNameException | UnsupportedCharsetException e) {
      throw new Failure("--outputencoding " + name + " is not a charset of this Java runtime.");
    }
  }
}
