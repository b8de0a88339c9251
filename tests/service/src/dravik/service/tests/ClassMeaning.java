package dravik.service.tests;

import java.io.PrintWriter;
import java.io.StringWriter;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.spi.ToolProvider;

/**
 * What a class file's methods do, as far as a source's meaning shows in it: each method's calls
 * (owner, name, descriptor), field reads and writes, and constants, as javap -v lists them, in no
 * order (a source may put a switch's arms elsewhere). Methods javac made are left out (bridges,
 * accessors) but for lambdas' bodies; an accessor's number, which follows the order of first use,
 * is not part of a call; a call of another method javac made in the class stands for what that
 * method does (javac 17 fills an enum's values through $values(), older ones in place).
 */
final class ClassMeaning {
  private static final Pattern MEMBER = Pattern.compile("^  (\\S[^(]*)(\\(.*)?;$");
  private static final Pattern INSTRUCTION =
      Pattern.compile("^\\s+\\d+: (\\w+)\\s*([^/]*?)\\s*(?://\\s*(.*))?$");
  private static final Pattern ACCESSOR = Pattern.compile("\\baccess\\$\\d+\\b");

  private ClassMeaning() {}

  /** Each method, as "name descriptor", with what it does, sorted. */
  static Map<String, List<String>> of(byte[] classFile) throws Exception {
    Map<String, List<String>> methods = new TreeMap<>();
    Map<String, List<String>> made = new TreeMap<>();
    String className = null;
    String method = null;
    boolean inSwitch = false;
    List<String> facts = null;
    for (String line : javap(classFile)) {
      if (className == null && line.startsWith("  this_class: ")) {
        className = line.substring(line.indexOf("// ") + 3).trim();
      }
      Matcher member = MEMBER.matcher(line);
      if (member.matches()) {
        // A field's declaration has no parameters.
        boolean isMethod = member.group(2) != null || line.equals("  static {};");
        method = isMethod ? member.group(1) : null;
        facts = null;
        continue;
      }
      if (method != null && line.startsWith("    descriptor: ")) {
        method = name(method, className) + " " + line.substring(16).trim();
        continue;
      }
      if (method != null && line.startsWith("    flags: ")) {
        facts = new ArrayList<>();
        boolean javacs = line.contains("ACC_SYNTHETIC") && !method.startsWith("lambda$");
        (javacs ? made : methods).put(method, facts);
        continue;
      }
      if (facts == null) {
        continue;
      }
      if (inSwitch) {
        inSwitch = !line.trim().equals("}");
        continue;
      }
      Matcher instruction = INSTRUCTION.matcher(line);
      if (instruction.matches()) {
        String fact = fact(instruction.group(1), instruction.group(2), instruction.group(3),
            className);
        if (fact != null) {
          facts.add(fact);
        }
        inSwitch = instruction.group(1).endsWith("switch");
      }
    }
    String own = "call " + className + ".";
    for (List<String> list : methods.values()) {
      List<String> calls = new ArrayList<>(list);
      for (String fact : calls) {
        if (fact.startsWith(own)) {
          String called = fact.substring(own.length()).replace(":", " ");
          List<String> body = made.get(called);
          if (body != null && !called.startsWith("access$")) {
            list.remove(fact);
            list.addAll(body);
          }
        }
      }
      Collections.sort(list);
    }
    return methods;
  }

  // "<init>" for a constructor (javap names it after its class), "<clinit>" for "static {}".
  private static String name(String declaration, String className) {
    String beforeParameters = declaration.trim();
    if (beforeParameters.startsWith("static {}")) {
      return "<clinit>";
    }
    String name = beforeParameters.substring(beforeParameters.lastIndexOf(' ') + 1);
    return className != null && name.equals(className.replace('/', '.')) ? "<init>" : name;
  }

  private static String fact(String opcode, String operand, String comment, String className) {
    if (opcode.startsWith("invoke") || opcode.endsWith("field") || opcode.endsWith("static")) {
      String kind = opcode.startsWith("invoke") ? "call" : opcode.startsWith("get") ? "get" : "put";
      String target = comment == null ? "" : comment.replaceFirst("^\\w+ ", "");
      if (opcode.equals("invokedynamic")) {
        return "dynamic " + target.replaceFirst("^#\\d+:", "");
      }
      if (!target.contains(".") || target.indexOf('.') > target.indexOf(':')) {
        target = className + "." + target; // javap leaves the class's own name out
      }
      return kind + " " + ACCESSOR.matcher(target).replaceAll("access\\$");
    }
    if (opcode.startsWith("ldc")) {
      return "const " + comment;
    }
    if (opcode.equals("bipush") || opcode.equals("sipush")) {
      return "const int " + operand;
    }
    if (opcode.matches("[ilfd]const_(m1|\\d)")) {
      String value = opcode.endsWith("m1") ? "-1" : opcode.substring(opcode.length() - 1);
      switch (opcode.charAt(0)) {
        case 'l':
          return "const long " + value + "l";
        case 'f':
          return "const float " + value + ".0f";
        case 'd':
          return "const double " + value + ".0d";
        default:
          return "const int " + value;
      }
    }
    return null;
  }

  static List<String> javap(byte[] classFile) throws Exception {
    Path file = Files.createTempFile("meaning", ".class");
    try {
      Files.write(file, classFile);
      StringWriter out = new StringWriter();
      int status = ToolProvider.findFirst("javap").orElseThrow().run(
          new PrintWriter(out), new PrintWriter(out), "-v", "-p", file.toString());
      if (status != 0) {
        throw new IllegalStateException("javap: " + out);
      }
      return List.of(out.toString().split("\\R"));
    } finally {
      Files.delete(file);
    }
  }
}
