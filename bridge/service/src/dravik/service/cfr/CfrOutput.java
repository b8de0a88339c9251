package dravik.service.cfr;

import dravik.service.engine.LineColumn;
import dravik.service.engine.WrittenFiles;
import java.nio.charset.Charset;
import java.util.ArrayList;
import java.util.Collection;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.NavigableMap;
import org.benf.cfr.reader.api.OutputSinkFactory;
import org.benf.cfr.reader.api.SinkReturns;

/**
 * Where CFR's output goes in this process: the Java it would write to a file under --outputdir,
 * and the exception it would print when it writes none. Progress and summaries are dropped, as
 * --silent drops them on the command line. With the column, the lines' original numbers: CFR
 * reports which bytecode each line written came from, and the class's line number table which
 * line that bytecode was compiled from.
 */
final class CfrOutput implements OutputSinkFactory {
  // The command line shortens a class's file name past this many characters.
  private static final int LONGEST_CLASS_FILE_NAME = 249;
  private static final int SHORTENED_PREFIX = 150;

  private final boolean column;
  private final List<SinkReturns.Decompiled> classes = new ArrayList<>();
  private final List<SinkReturns.LineNumberMapping> lines = new ArrayList<>();
  private Exception exception;

  CfrOutput(boolean column) {
    this.column = column;
  }

  @Override
  public List<SinkClass> getSupportedSinks(SinkType sinkType, Collection<SinkClass> available) {
    switch (sinkType) {
      case JAVA:
        return Collections.singletonList(SinkClass.DECOMPILED);
      case EXCEPTION:
        return Collections.singletonList(SinkClass.EXCEPTION_MESSAGE);
      case LINENUMBER:
        return column ? Collections.singletonList(SinkClass.LINE_NUMBER_MAPPING)
                      : Collections.<SinkClass>emptyList();
      default:
        return Collections.singletonList(SinkClass.STRING);
    }
  }

  @Override
  @SuppressWarnings("unchecked")
  public <T> Sink<T> getSink(SinkType sinkType, SinkClass sinkClass) {
    if (sinkType == SinkType.JAVA && sinkClass == SinkClass.DECOMPILED) {
      return decompiled -> classes.add((SinkReturns.Decompiled) decompiled);
    }
    if (sinkType == SinkType.LINENUMBER && sinkClass == SinkClass.LINE_NUMBER_MAPPING) {
      return mapping -> lines.add((SinkReturns.LineNumberMapping) mapping);
    }
    if (sinkType == SinkType.EXCEPTION && sinkClass == SinkClass.EXCEPTION_MESSAGE) {
      return message -> {
        if (exception == null) {
          exception = ((SinkReturns.ExceptionMessage) message).getThrownException();
        }
      };
    }
    return ignored -> {};
  }

  /** The files the command line would have written, under the paths it would write them to. */
  WrittenFiles files(Charset charset) {
    WrittenFiles files = new WrittenFiles();
    int shortened = 0;
    for (SinkReturns.Decompiled decompiled : classes) {
      String packageName = decompiled.getPackageName();
      String className = decompiled.getClassName();
      if (className.length() > LONGEST_CLASS_FILE_NAME) {
        className = className.substring(0, SHORTENED_PREFIX) + "_cfr_" + shortened++;
      }
      String folder = packageName.isEmpty() ? "" : packageName.replace('.', '/') + "/";
      String java =
          column ? LineColumn.of(decompiled.getJava(), originalLines()) : decompiled.getJava();
      files.add(folder + className + ".java", java.getBytes(charset));
    }
    return files;
  }

  // Each line written (1 for the first) by the original line of its bytecode: the lowest, where
  // it came from several.
  private Map<Integer, Integer> originalLines() {
    Map<Integer, Integer> numbers = new HashMap<>();
    for (SinkReturns.LineNumberMapping method : lines) {
      NavigableMap<Integer, Integer> table = method.getClassFileMappings();
      if (table == null) {
        continue;
      }
      for (Map.Entry<Integer, Integer> written : method.getMappings().entrySet()) {
        Map.Entry<Integer, Integer> compiled = table.floorEntry(written.getKey());
        if (compiled == null) {
          continue;
        }
        Integer known = numbers.get(written.getValue());
        if (known == null || compiled.getValue() < known) {
          numbers.put(written.getValue(), compiled.getValue());
        }
      }
    }
    return numbers;
  }

  /** What CFR threw instead of writing a class, or null. */
  Exception exception() {
    return exception;
  }
}
