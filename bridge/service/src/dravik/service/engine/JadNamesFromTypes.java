package dravik.service.engine;

import java.util.Arrays;
import java.util.Collection;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Set;

/**
 * Jad's names for variables the class does not name, from their types: "i", "j", "k", "l" for
 * integers, "flag", "b", "c", "f", "d", "s" for booleans, bytes, chars, floats, doubles and
 * strings, "obj" for Object, the type's simple name in lower case for other classes ("circle"
 * for Shapes.Circle), "a" before the element's name for arrays ("ai", "acircle"), numbered from 1
 * once taken; never a name taken already, nor a keyword. One method's names; plain Java, for
 * either engine.
 */
public final class JadNamesFromTypes {
  /** The service's own option that asks for these names: --jad-names-for-unnamed=1. */
  public static final String OPTION = "jad-names-for-unnamed";
  public static final String ASKED = "--" + OPTION + "=1";
  private static final List<String> INTEGER_NAMES = Arrays.asList("i", "j", "k", "l");
  // Keywords and literals, and words that read badly or not at all as a name in some places.
  private static final Set<String> NOT_NAMES = new HashSet<>(Arrays.asList("abstract", "assert",
      "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue", "default",
      "do", "double", "else", "enum", "extends", "final", "finally", "float", "for", "goto", "if",
      "implements", "import", "instanceof", "int", "interface", "long", "native", "new",
      "package", "private", "protected", "public", "return", "short", "static", "strictfp",
      "super", "switch", "synchronized", "this", "throw", "throws", "transient", "try", "void",
      "volatile", "while", "true", "false", "null", "var", "yield", "record", "sealed", "permits",
      "when", "_"));

  private final Set<String> taken = new HashSet<>();

  public void add(String name) {
    taken.add(name);
  }

  public void addAll(Collection<String> names) {
    taken.addAll(names);
  }

  public Set<String> all() {
    return taken;
  }

  // What a name is made of, from the type as source writes it ("int", "Shapes.Circle",
  // "List<String>", "char[]", or with '$' for a nested class): the integer names, a word for the
  // few types Jad had one for, else the simple name in lower case; "a" in front for an array.
  public static String stem(String type) {
    String name = type == null ? "Object" : type;
    int generic = name.indexOf('<');
    if (generic >= 0) {
      name = name.substring(0, generic);
    }
    boolean array = name.endsWith("[]") || name.endsWith("...");
    while (name.endsWith("[]") || name.endsWith("...")) {
      name = name.substring(0, name.length() - (name.endsWith("[]") ? 2 : 3));
    }
    name = name.substring(Math.max(name.lastIndexOf('.'), name.lastIndexOf('$')) + 1);
    int letter = 0;
    while (letter < name.length() && Character.isDigit(name.charAt(letter))) {
      letter++; // a local class, "1Local"
    }
    name = name.substring(letter);
    String stem;
    switch (name) {
      case "int":
      case "long":
      case "short":
        stem = "i";
        break;
      case "boolean":
        stem = "flag";
        break;
      case "byte":
        stem = "b";
        break;
      case "char":
        stem = "c";
        break;
      case "float":
        stem = "f";
        break;
      case "double":
        stem = "d";
        break;
      case "String":
        stem = "s";
        break;
      case "":
      case "Object":
        stem = "obj";
        break;
      default:
        stem = name.toLowerCase(Locale.ROOT);
        if (!isIdentifier(stem)) {
          stem = "obj"; // a name no source can have, as in a damaged class file
        }
    }
    return array ? "a" + stem : stem;
  }

  private static boolean isIdentifier(String name) {
    for (int i = 0; i < name.length(); i++) {
      if (!(i == 0 ? Character.isJavaIdentifierStart(name.charAt(i))
                   : Character.isJavaIdentifierPart(name.charAt(i)))) {
        return false;
      }
    }
    return true;
  }

  /**
   * The first free name of the stem, now taken: "i", "j", "k", "l", "i1", "j1", ... for
   * integers, else the stem alone, then numbered from 1.
   */
  public String fresh(String stem) {
    for (int number = 0;; number++) {
      String suffix = number == 0 ? "" : Integer.toString(number);
      if (stem.equals("i")) {
        for (String integer : INTEGER_NAMES) {
          if (take(integer + suffix)) {
            return integer + suffix;
          }
        }
      } else if (take(stem + suffix)) {
        return stem + suffix;
      }
    }
  }

  private boolean take(String name) {
    if (taken.contains(name) || NOT_NAMES.contains(name)) {
      return false;
    }
    taken.add(name);
    return true;
  }
}
