package dravik.service.engine;

import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Set;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * The two annotations the Kotlin compiler gives its classes, as an engine writes them, in one
 * comment line each: {@code @Metadata(mv = {2, 2, 0}, k = 1, d1 = "...", d2 = {...})} (the
 * compiler's description of the Kotlin declarations, a screenful of escaped bytes) says in words
 * what kind of class file this is and which metadata version, and {@code @SourceDebugExtension}
 * (the map of the lines of inlined code, one long string) names the source files it maps. Both
 * stay whole in the bytecode view. The annotation must be Kotlin's: imported from its package,
 * written with it, or in that package; the import goes too when nothing else names the type.
 * Java as Vineflower and CFR write it, and Kotlin as Vineflower's Kotlin plugin does.
 */
public final class KotlinAnnotationLines {
  /** The service's option that asks for the lines. */
  public static final String OPTION = "--kotlin-lines=1";

  private static final String METADATA = "kotlin.Metadata";
  private static final String DEBUG = "kotlin.jvm.internal.SourceDebugExtension";
  private static final String[] KINDS = {
    "class", "file facade", "synthetic class", "multi-file class facade", "multi-file class part"
  };
  private static final Pattern VERSION = Pattern.compile("\\bmv\\s*=\\s*[\\[{]([-\\d,\\s]*)[\\]}]");
  private static final Pattern KIND = Pattern.compile("\\bk\\s*=\\s*(-?\\d+)");

  private KotlinAnnotationLines() {}

  /** Whether the options ask for the lines. */
  public static boolean asked(List<String> options) {
    return options.contains(OPTION);
  }

  /** The options without the lines', for the engine's own parser. */
  public static List<String> enginesOptions(List<String> options) {
    return ServiceOptions.without(options, OPTION);
  }

  /** The source with the lines when the options ask for them, else as it is. */
  public static Engine.Source applied(List<String> options, Engine.Source source) {
    return asked(options) ? of(source) : source;
  }

  /**
   * The source with the lines: decoded as UTF-8 (the service's and the one-shot run's charset)
   * only when it names one of the annotations at all, so that any other source stays byte for
   * byte as the engine wrote it, as does one that is not UTF-8.
   */
  public static Engine.Source of(Engine.Source source) {
    String ascii = new String(source.bytes, StandardCharsets.ISO_8859_1);
    if (!ascii.contains("Metadata(") && !ascii.contains("SourceDebugExtension(")) {
      return source;
    }
    String text;
    try {
      text = StandardCharsets.UTF_8.newDecoder()
                 .onMalformedInput(CodingErrorAction.REPORT)
                 .onUnmappableCharacter(CodingErrorAction.REPORT)
                 .decode(ByteBuffer.wrap(source.bytes))
                 .toString();
    } catch (CharacterCodingException e) {
      return source;
    }
    String lines = of(text);
    return lines.equals(text)
        ? source
        : new Engine.Source(source.relativePath, lines.getBytes(StandardCharsets.UTF_8));
  }

  /** The text with each of Kotlin's two annotations in a line; text as it is without them. */
  private static String of(String text) {
    if (text.indexOf("Metadata(") < 0 && text.indexOf("SourceDebugExtension(") < 0) {
      return text;
    }
    String lineEnd = text.contains("\r\n") ? "\r\n" : "\n";
    List<String> lines = new ArrayList<>();
    for (int start = 0; start < text.length(); ) {
      int end = text.indexOf('\n', start);
      end = end < 0 ? text.length() : end + 1;
      lines.add(text.substring(start, end));
      start = end;
    }
    String packageName = packageOf(lines);
    boolean metadataKnown = named(lines, packageName, METADATA);
    boolean debugKnown = named(lines, packageName, DEBUG);
    StringBuilder out = new StringBuilder(text.length());
    // The same without the comment lines, to tell whether anything else names the types.
    StringBuilder bare = new StringBuilder(text.length());
    boolean changed = false;
    Set<String> replaced = new LinkedHashSet<>();
    for (int i = 0; i < lines.size(); i++) {
      String line = lines.get(i);
      int at = firstNonBlank(line);
      String which = annotationAt(line, at, metadataKnown, debugKnown);
      int close = which == null ? -1 : closingParenthesis(lines, i, line.indexOf('(', at));
      if (close < 0) {
        out.append(line);
        bare.append(line);
        continue;
      }
      // The annotation runs from line i to the line close / 2^16 in lines, at its column.
      int lastLine = i + (close >>> 16);
      int lastColumn = close & 0xFFFF;
      StringBuilder annotation = new StringBuilder(line.substring(at));
      for (int j = i + 1; j <= lastLine; j++) annotation.append(lines.get(j));
      String rest = lines.get(lastLine).substring(lastColumn + 1);
      String indent = line.substring(0, at);
      String comment =
          which.equals(METADATA) ? metadataLine(annotation.toString()) : debugLine(annotation);
      out.append(indent).append(comment).append(lineEnd);
      if (!rest.trim().isEmpty()) {
        out.append(indent).append(rest.trim()).append(lineEnd);
        bare.append(indent).append(rest.trim()).append(lineEnd);
      }
      replaced.add(which);
      changed = true;
      i = lastLine;
    }
    if (!changed) return text;
    return withoutImports(out.toString(), bare.toString(), replaced);
  }

  private static int firstNonBlank(String line) {
    int at = 0;
    while (at < line.length() && (line.charAt(at) == ' ' || line.charAt(at) == '\t')) at++;
    // Behind the column of original lines, which a blank column leaves as spaces.
    if (line.startsWith("/*", at)) {
      int end = line.indexOf("*/", at);
      if (end > 0 && line.substring(at + 2, end).trim().matches("\\d*")) {
        at = end + 2;
        while (at < line.length() && line.charAt(at) == ' ') at++;
      }
    }
    return at;
  }

  private static String packageOf(List<String> lines) {
    for (String line : lines) {
      String trimmed = line.trim();
      if (trimmed.startsWith("package ")) {
        return trimmed.substring(8).replace(";", "").trim();
      }
    }
    return "";
  }

  // Whether the simple name of type means it here: imported, or the package's own.
  private static boolean named(List<String> lines, String packageName, String type) {
    int dot = type.lastIndexOf('.');
    if (packageName.equals(type.substring(0, dot))) return true;
    for (String line : lines) {
      String trimmed = line.trim();
      if (trimmed.equals("import " + type + ";") || trimmed.equals("import " + type)) return true;
    }
    return false;
  }

  // Which of the two annotations begins at, Kotlin's "@file:" target allowed; null for none.
  private static String annotationAt(String line, int at, boolean metadata, boolean debug) {
    String prefix = line.startsWith("@file:", at) ? "@file:" : "@";
    for (String type : new String[] {METADATA, DEBUG}) {
      boolean known = type.equals(METADATA) ? metadata : debug;
      String simple = type.substring(type.lastIndexOf('.') + 1);
      if (line.startsWith(prefix + type + "(", at)
          || (known && line.startsWith(prefix + simple + "(", at))) {
        return type;
      }
    }
    return null;
  }

  // Where the parenthesis at lines[first][open] closes, as (lines on) << 16 | column; -1 when
  // it does not (strings, characters and nested brackets passed over), or far below.
  private static int closingParenthesis(List<String> lines, int first, int open) {
    int depth = 0;
    for (int i = first; i < lines.size() && i - first < 0x7FFF; i++) {
      String line = lines.get(i);
      for (int c = i == first ? open : 0; c < line.length() && c < 0xFFFF; c++) {
        char ch = line.charAt(c);
        if (ch == '"' || ch == '\'') {
          c = JavaLiterals.end(line, c);
        } else if (ch == '(' || ch == '[' || ch == '{') {
          depth++;
        } else if (ch == ')' || ch == ']' || ch == '}') {
          if (--depth == 0) return ch == ')' ? (i - first) << 16 | c : -1;
        }
      }
    }
    return -1;
  }

  private static String metadataLine(String annotation) {
    Matcher kind = KIND.matcher(annotation);
    int k = kind.find() ? Integer.parseInt(kind.group(1)) : 1;
    String what = k >= 1 && k <= KINDS.length ? KINDS[k - 1] : "kind " + k;
    Matcher version = VERSION.matcher(annotation);
    String mv = version.find() ? version.group(1).replaceAll("\\s", "").replace(',', '.') : "";
    return "// @Metadata (whole in the bytecode view): a Kotlin " + what
        + (mv.isEmpty() ? "" : ", metadata version " + mv);
  }

  private static String debugLine(CharSequence annotation) {
    List<String> files = smapFiles(stringsIn(annotation));
    StringBuilder line =
        new StringBuilder("// @SourceDebugExtension (whole in the bytecode view): ");
    if (files.isEmpty()) {
      line.append("a map of inlined lines");
    } else {
      line.append("the lines of ");
      for (int i = 0; i < files.size(); i++) {
        line.append(i == 0 ? "" : i == files.size() - 1 ? " and " : ", ").append(files.get(i));
      }
    }
    return line.toString();
  }

  // The string literals' texts, one after the other, their escapes read.
  private static String stringsIn(CharSequence annotation) {
    StringBuilder text = new StringBuilder();
    String a = annotation.toString();
    for (int c = 0; c < a.length(); c++) {
      if (a.charAt(c) != '"') continue;
      int end = JavaLiterals.end(a, c);
      text.append(unescaped(a.substring(c + 1, Math.min(end, a.length()))));
      c = end;
    }
    return text.toString();
  }

  private static String unescaped(String literal) {
    StringBuilder text = new StringBuilder(literal.length());
    for (int c = 0; c < literal.length(); c++) {
      char ch = literal.charAt(c);
      if (ch != '\\' || c + 1 >= literal.length()) {
        text.append(ch);
        continue;
      }
      char next = literal.charAt(++c);
      switch (next) {
        case 'n':
          text.append('\n');
          break;
        case 'r':
          text.append('\r');
          break;
        case 't':
          text.append('\t');
          break;
        case 'u':
          if (c + 4 < literal.length()) {
            try {
              text.append((char) Integer.parseInt(literal.substring(c + 1, c + 5), 16));
              c += 4;
              break;
            } catch (NumberFormatException e) {
              // not an escape after all: kept as it is
            }
          }
          text.append("\\u");
          break;
        default:
          text.append(next);
      }
    }
    return text.toString();
  }

  /**
   * The files of a SMAP's file sections ("*F"), each once: "+ 1 Regex.kt" followed by its path,
   * or "1 Regex.kt"; with its class where the path names one ("Regex.kt (kotlin/text/RegexKt)").
   * The first is the class's own source.
   */
  private static List<String> smapFiles(String smap) {
    Set<String> files = new LinkedHashSet<>();
    String[] lines = smap.split("\r?\n");
    boolean inFiles = false;
    for (int i = 0; i < lines.length; i++) {
      String line = lines[i].trim();
      if (line.startsWith("*")) {
        inFiles = line.equals("*F");
        continue;
      }
      if (!inFiles || line.isEmpty()) continue;
      boolean withPath = line.startsWith("+ ");
      String[] parts = (withPath ? line.substring(2) : line).trim().split("\\s+", 2);
      if (parts.length < 2) continue;
      String name = parts[1];
      if (withPath && i + 1 < lines.length) {
        String path = lines[++i].trim();
        files.add(path.isEmpty() ? name : name + " (" + path + ")");
      } else {
        files.add(name);
      }
    }
    return new ArrayList<>(files);
  }

  // Drops the imports of the types replaced that nothing else (in bare) names now.
  private static String withoutImports(String text, String bare, Set<String> types) {
    String result = text;
    for (String type : types) {
      String simple = type.substring(type.lastIndexOf('.') + 1);
      Pattern importLine =
          Pattern.compile("(?m)^[ \\t]*import " + Pattern.quote(type) + ";?[ \\t]*\\r?\\n");
      Matcher inBare = importLine.matcher(bare);
      if (!inBare.find()) continue;
      String others =
          withoutComments(bare.substring(0, inBare.start()) + bare.substring(inBare.end()));
      if (Pattern.compile("\\b" + simple + "\\b").matcher(others).find()) continue;
      Matcher inText = importLine.matcher(result);
      if (inText.find()) result = result.substring(0, inText.start()) + result.substring(inText.end());
    }
    return result;
  }

  // The text without its comments (CFR's header names the classes it could not load), string
  // and character literals passed over whole.
  private static String withoutComments(String text) {
    StringBuilder code = new StringBuilder(text.length());
    for (int c = 0; c < text.length(); c++) {
      char ch = text.charAt(c);
      if (ch == '"' || ch == '\'') {
        int end = Math.min(JavaLiterals.end(text, c), text.length() - 1);
        code.append(text, c, end + 1);
        c = end;
      } else if (text.startsWith("//", c)) {
        int end = text.indexOf('\n', c);
        c = (end < 0 ? text.length() : end) - 1;
      } else if (text.startsWith("/*", c)) {
        int end = text.indexOf("*/", c + 2);
        c = end < 0 ? text.length() : end + 1;
      } else {
        code.append(ch);
      }
    }
    return code.toString();
  }
}
