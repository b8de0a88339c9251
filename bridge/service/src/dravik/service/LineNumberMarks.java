package dravik.service;

import com.strobel.decompiler.languages.LineNumberPosition;
import java.io.BufferedReader;
import java.io.IOException;
import java.io.PrintWriter;
import java.io.StringReader;
import java.io.StringWriter;
import java.io.UncheckedIOException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Iterator;
import java.util.List;

/**
 * Procyon's command line puts the original line numbers in front of the decompiled lines (-ln) or
 * moves lines to them (-sl) by rewriting the written file (its LineNumberFormatter). The service
 * writes no file, so this does the same rewrite on the text in memory. It follows Procyon 0.6.0's
 * LineNumberFormatter and LineNumberPrintWriter (Apache License 2.0) step by step, down to the
 * PrintWriter and its line separator, because the bridge needs the one-shot run's bytes exactly.
 */
final class LineNumberMarks {
  private LineNumberMarks() {}

  /** The text as the command line leaves the file after its rewrite. */
  static String apply(
      String text, List<LineNumberPosition> positions, boolean leadingComments, boolean stretched) {
    List<LineNumberPosition> moved = new ArrayList<>();
    List<String> lines;
    try {
      lines = breakLines(text, positions, moved);
    } catch (IOException e) {
      throw new UncheckedIOException(e); // a StringReader does not fail
    }
    StringWriter out = new StringWriter(text.length() + text.length() / 4);
    emit(lines, moved, leadingComments, stretched, out);
    return out.toString();
  }

  // Splits lines that hold statements of several original lines, so that each can get its own mark.
  private static List<String> breakLines(String text, List<LineNumberPosition> positions,
      List<LineNumberPosition> moved) throws IOException {
    int linesRead = 0;
    int added = 0;
    List<String> lines = new ArrayList<>();
    try (BufferedReader reader = new BufferedReader(new StringReader(text))) {
      for (int i = 0; i < positions.size(); i++) {
        LineNumberPosition position = positions.get(i);
        moved.add(new LineNumberPosition(position.getOriginalLine(),
            position.getEmittedLine() + added, position.getEmittedColumn()));
        while (linesRead < position.getEmittedLine() - 1) {
          lines.add(reader.readLine());
          linesRead++;
        }
        String line = reader.readLine();
        linesRead++;
        int prefixLength = 0;
        char[] prefix = new char[0];
        LineNumberPosition next;
        do {
          next = i < positions.size() - 1 ? positions.get(i + 1) : null;
          if (next != null && next.getEmittedLine() == position.getEmittedLine()
              && next.getOriginalLine() > position.getOriginalLine()) {
            i++;
            added++;
            String head = line.substring(0, next.getEmittedColumn() - prefixLength - 1);
            lines.add(new String(prefix) + head);
            prefixLength += head.length();
            prefix = new char[prefixLength];
            Arrays.fill(prefix, ' ');
            line = line.substring(head.length(), line.length());
            moved.add(new LineNumberPosition(
                next.getOriginalLine(), next.getEmittedLine() + added, next.getEmittedColumn()));
          } else {
            next = null;
          }
        } while (next != null);
        lines.add(new String(prefix) + line);
      }
      String rest;
      while ((rest = reader.readLine()) != null) {
        lines.add(rest);
      }
    }
    return lines;
  }

  private static void emit(List<String> lines, List<LineNumberPosition> positions,
      boolean leadingComments, boolean stretched, StringWriter sink) {
    int globalOffset = 0;
    int linesDone = 0;
    Iterator<String> lineIterator = lines.iterator();
    int maxLineNumber = LineNumberPosition.computeMaxLineNumber(positions);
    try (MarkWriter out = new MarkWriter(maxLineNumber, sink)) {
      if (!leadingComments) {
        out.suppressLineNumbers();
      }
      for (LineNumberPosition position : positions) {
        int originalLine = position.getOriginalLine();
        int actual = position.getEmittedLine();
        int adjustment = originalLine - actual - globalOffset;
        if (stretched && adjustment < 0) {
          List<String> kept = new ArrayList<>();
          while (linesDone < actual - 1) {
            String line = lineIterator.next();
            linesDone++;
            if (adjustment < 0 && line.trim().isEmpty()) {
              adjustment++;
              globalOffset--;
            } else {
              kept.add(line);
            }
          }
          int mark = kept.size() + adjustment > 0 ? MarkWriter.NO_LINE_NUMBER : originalLine;
          for (String line : kept) {
            if (adjustment < 0) {
              out.print(mark, line);
              out.print("  ");
              adjustment++;
              globalOffset--;
            } else {
              out.println(mark, line);
            }
          }
          String line = lineIterator.next();
          linesDone++;
          if (adjustment < 0) {
            out.print(originalLine, line);
            out.print("  ");
            globalOffset--;
          } else {
            out.println(originalLine, line);
          }
        } else {
          while (linesDone < actual) {
            String line = lineIterator.next();
            linesDone++;
            boolean last = linesDone >= actual;
            int mark = last ? originalLine : MarkWriter.NO_LINE_NUMBER;
            if (adjustment > 0 && stretched) {
              do {
                out.println("");
                adjustment--;
                globalOffset++;
              } while (last && adjustment > 0);
            }
            out.println(mark, line);
          }
        }
      }
      while (lineIterator.hasNext()) {
        out.println(lineIterator.next());
      }
    }
  }

  /** Writes a line-number comment, or blanks as wide, before the first text of each line. */
  private static final class MarkWriter extends PrintWriter {
    static final int NO_LINE_NUMBER = -1;
    private final String emptyPrefix;
    private final String format;
    private boolean needsPrefix = true;
    private boolean suppressLineNumbers;

    MarkWriter(int maxLineNumber, StringWriter out) {
      super(out);
      int width = String.format("%d", maxLineNumber).length();
      format = "/*%" + width + "d*/";
      char[] blanks = String.format(format, maxLineNumber).toCharArray();
      Arrays.fill(blanks, ' ');
      emptyPrefix = new String(blanks);
    }

    void suppressLineNumbers() {
      suppressLineNumbers = true;
    }

    @Override
    public void print(String s) {
      print(NO_LINE_NUMBER, s);
    }

    @Override
    public void println(String s) {
      println(NO_LINE_NUMBER, s);
    }

    void println(int lineNumber, String s) {
      prefix(lineNumber);
      super.println(s);
      needsPrefix = true;
    }

    void print(int lineNumber, String s) {
      prefix(lineNumber);
      super.print(s);
    }

    private void prefix(int lineNumber) {
      if (needsPrefix && !suppressLineNumbers) {
        if (lineNumber == NO_LINE_NUMBER) {
          super.print(emptyPrefix);
        } else {
          super.print(String.format(format, lineNumber));
        }
      }
      needsPrefix = false;
    }
  }
}
