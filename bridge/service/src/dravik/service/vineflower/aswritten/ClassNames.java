package dravik.service.vineflower.aswritten;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.regex.Pattern;
import org.jetbrains.java.decompiler.main.ClassesProcessor.ClassNode;
import org.jetbrains.java.decompiler.main.DecompilerContext;
import org.jetbrains.java.decompiler.main.collectors.ImportCollector;
import org.jetbrains.java.decompiler.struct.StructClass;
import org.jetbrains.java.decompiler.struct.StructContext;
import org.jetbrains.java.decompiler.struct.attr.StructGeneralAttribute;
import org.jetbrains.java.decompiler.struct.attr.StructInnerClassesAttribute;

/**
 * Other classes' names as those classes have them, '$' included. Vineflower takes every '$' in the
 * name of a class it is not decompiling for the mark of a nested class, so that cglib's
 * reflect/$FastClass became "reflect..FastClass" and a class named Outer$Part that nests in
 * nothing "Outer.Part". Here a '$' is a nesting mark only where the class's InnerClasses attribute
 * says it nests; of a class Vineflower cannot read, only a '$' inside a name (not at the start or
 * the end of one) is. Installed for each class before it is written, in place of Vineflower's
 * own collector (whose names so far it takes over), which does the rest.
 */
final class ClassNames extends ImportCollector {
  // Stands for a '$' that is part of a name while Vineflower's collector, which would take it
  // for a nesting mark, handles the name; no class name has it.
  private static final char KEPT_DOLLAR = '\uFDD0';

  private static final Pattern INNER_DOLLAR = Pattern.compile("(?<=[^.$])\\$(?=[^.$])");

  private final Map<String, String> names = new HashMap<>();

  ClassNames(ImportCollector collector) {
    super(collector);
  }

  @Override
  public String getShortName(String fullName, boolean imported) {
    String javaName = names.computeIfAbsent(fullName, ClassNames::javaName);
    if (javaName.isEmpty()) {
      return super.getShortName(fullName, imported); // Vineflower's reading stands
    }
    if (javaName.indexOf('$') < 0) {
      return super.getShortName(javaName, imported);
    }
    String shortName = super.getShortName(javaName.replace('$', KEPT_DOLLAR), imported);
    return shortName == null ? null : shortName.replace(KEPT_DOLLAR, '$');
  }

  @Override
  protected List<String> packImports() {
    List<String> imports = new ArrayList<>();
    for (String line : super.packImports()) {
      imports.add(line.replace(KEPT_DOLLAR, '$'));
    }
    return imports;
  }

  // The name the source writes (dots between packages and between nested classes) for a name
  // as Vineflower hands it over: with '$' (a class literal's) or with every '$' made a dot; ""
  // where Vineflower's own reading stands.
  private static String javaName(String fullName) {
    StructContext context = DecompilerContext.getStructContext();
    ClassNode node =
        DecompilerContext.getClassProcessor().getMapRootClasses().get(fullName.replace('.', '/'));
    if (node != null && node.classStruct.isOwn()) {
      return ""; // a class being decompiled: Vineflower knows its nesting
    }
    if (fullName.indexOf('$') >= 0) {
      String internal = fullName.replace('.', '/');
      if (context.getClass(internal) != null) {
        return sourceName(internal, context, new HashSet<String>());
      }
      // Unknown: a '$' between two letters of a name marks a nested class, as Vineflower has it.
      String dotted = INNER_DOLLAR.matcher(fullName).replaceAll(".");
      return dotted.indexOf('$') < 0 ? "" : dotted;
    }
    // A '$' at the start or the end of a name left an empty part ("a.b..C" for a/b/$C); a name
    // without one stays as Vineflower has it.
    String[] parts = fullName.split("\\.", -1);
    int firstEmpty = 0;
    while (firstEmpty < parts.length && !parts[firstEmpty].isEmpty()) {
      firstEmpty++;
    }
    if (firstEmpty == parts.length) {
      return "";
    }
    // The first split into package and nested names that a known class has.
    for (int packageParts = Math.min(firstEmpty, parts.length - 1); packageParts >= 0;
         packageParts--) {
      String candidate = join(parts, 0, packageParts, "/") + (packageParts > 0 ? "/" : "")
          + join(parts, packageParts, parts.length, "$");
      if (context.getClass(candidate) != null) {
        return sourceName(candidate, context, new HashSet<String>());
      }
    }
    // Unknown: the package up to the first such '$', each empty part a '$' of the next name.
    StringBuilder name = new StringBuilder(join(parts, 0, firstEmpty, "."));
    for (int i = firstEmpty; i < parts.length; i++) {
      boolean kept = parts[i].isEmpty();
      name.append(kept ? "$" : parts[i]);
      if (!kept && i + 1 < parts.length && !parts[i + 1].isEmpty()) {
        name.append('.');
      }
      if (kept && i == firstEmpty && firstEmpty > 0 && i + 1 < parts.length) {
        name.insert(name.length() - 1, '.');
      }
    }
    return name.toString();
  }

  private static String join(String[] parts, int from, int to, String separator) {
    StringBuilder joined = new StringBuilder();
    for (int i = from; i < to; i++) {
      joined.append(i > from ? separator : "").append(parts[i]);
    }
    return joined.toString();
  }

  // Dotted, with a dot before each nested class's own name where the class says it nests.
  private static String sourceName(String internal, StructContext context, Set<String> seen) {
    StructClass known = seen.add(internal) ? context.getClass(internal) : null;
    StructInnerClassesAttribute nesting = known == null
        ? null
        : known.getAttribute(StructGeneralAttribute.ATTRIBUTE_INNER_CLASSES);
    if (nesting != null) {
      for (StructInnerClassesAttribute.Entry entry : nesting.getEntries()) {
        if (internal.equals(entry.innerName) && entry.enclosingName != null
            && entry.simpleName != null) {
          return sourceName(entry.enclosingName, context, seen) + "." + entry.simpleName;
        }
      }
    }
    return internal.replace('/', '.');
  }
}
