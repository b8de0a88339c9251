package dravik.service.vineflower.names;

import dravik.service.engine.JadNamesFromTypes;
import java.util.ArrayList;
import java.util.Collections;
import java.util.HashMap;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import org.jetbrains.java.decompiler.code.CodeConstants;
import org.jetbrains.java.decompiler.main.DecompilerContext;
import org.jetbrains.java.decompiler.main.extern.IVariableNameProvider;
import org.jetbrains.java.decompiler.modules.decompiler.ExprProcessor;
import org.jetbrains.java.decompiler.modules.decompiler.exps.Exprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.VarExprent;
import org.jetbrains.java.decompiler.modules.decompiler.stats.RootStatement;
import org.jetbrains.java.decompiler.modules.decompiler.stats.Statement;
import org.jetbrains.java.decompiler.modules.decompiler.vars.VarProcessor;
import org.jetbrains.java.decompiler.modules.decompiler.vars.VarVersionPair;
import org.jetbrains.java.decompiler.struct.StructClass;
import org.jetbrains.java.decompiler.struct.StructField;
import org.jetbrains.java.decompiler.struct.StructMethod;
import org.jetbrains.java.decompiler.struct.attr.StructLocalVariableTableAttribute;
import org.jetbrains.java.decompiler.struct.gen.VarType;
import org.jetbrains.java.decompiler.util.Pair;

/**
 * Vineflower's names for one method's locals: a local that the class's local variable table names
 * keeps that name (Vineflower shows it), and only a local it does not name gets a Jad-style name
 * from its type (JadNamesFromTypes). No name is one the method, its parameters, its class's
 * fields or the methods around it (for a lambda or a local class) use already, nor a keyword.
 * Parameters the class leaves unnamed (UnnamedParameters) are named the same way, before the
 * locals, in the body and in the method's header alike (abstract and interface methods too).
 */
final class LocalNameProvider implements IVariableNameProvider {
  private final StructMethod method;
  private final JadNamesFromTypes taken = new JadNamesFromTypes();
  // The names given to unnamed parameters, by slot; made once, before any local's.
  private Map<Integer, String> parameters;
  // Handed over by LocalNamesPlugin's pass before Vineflower asks for names.
  private RootStatement root;
  private VarProcessor variables;

  LocalNameProvider(StructMethod method) {
    this.method = method;
    StructLocalVariableTableAttribute table = method.getLocalVariableAttr();
    if (table != null) {
      table.getVariables().forEach(local -> taken.add(local.getName()));
    }
    StructClass owner =
        DecompilerContext.getStructContext().getClass(method.getClassQualifiedName());
    if (owner != null) {
      for (StructField field : owner.getFields()) {
        taken.add(field.getName());
      }
    }
  }

  /** The method's statements and variables, once Vineflower has built them. */
  void decompiled(RootStatement root, VarProcessor variables) {
    this.root = root;
    this.variables = variables;
  }

  @Override
  public Map<VarVersionPair, String> rename(Map<VarVersionPair, Pair<VarType, String>> locals) {
    int firstLocal = method.hasModifier(CodeConstants.ACC_STATIC) ? 0 : 1;
    for (VarType parameter : method.methodDescriptor().params) {
      firstLocal += parameter.stackSize;
    }
    if (variables != null) {
      taken.addAll(variables.getVarNames());
    }
    Map<Integer, String> parameterNames = parameters();
    Set<VarVersionPair> named = namedByTable();
    List<VarVersionPair> order = new ArrayList<>(locals.keySet());
    // In the order of the slots, as Jad counts: the first int is "i".
    Collections.sort(order,
        (a, b)
            -> a.var != b.var ? Integer.compare(a.var, b.var)
                              : Integer.compare(a.version, b.version));
    Map<VarVersionPair, String> names = new LinkedHashMap<>();
    for (VarVersionPair local : order) {
      if (local.var < firstLocal && local.version == 0) {
        String parameter = parameterNames.get(local.var);
        if (parameter != null) {
          names.put(local, parameter);
        }
        continue;
      }
      if (local.var < firstLocal && !parameterNames.containsKey(local.var)) {
        continue; // a parameter the class names, or one javac added
      }
      if (named == null ? method.getLocalVariableAttr() != null : named.contains(local)) {
        continue;
      }
      Pair<VarType, String> type = locals.get(local);
      names.put(local, taken.fresh(JadNamesFromTypes.stem(type.b)));
    }
    return names;
  }

  // The header asks with the name Vineflower has for the parameter: its own placeholder
  // ("var1"), or for one whose body names it, what rename gave it.
  @Override
  public String renameParameter(int flags, VarType type, String name, int index) {
    String parameter = parameters().get(index);
    return parameter != null && (name == null || name.equals("var" + index)) ? parameter : name;
  }

  private Map<Integer, String> parameters() {
    if (parameters == null) {
      parameters = new HashMap<>();
      for (UnnamedParameters.Parameter parameter : UnnamedParameters.of(method)) {
        String name;
        if (parameter.component != null) {
          name = parameter.component;
          taken.add(name);
        } else {
          name = taken.fresh(
              JadNamesFromTypes.stem(ExprProcessor.getCastTypeName(parameter.type, false)));
        }
        parameters.put(parameter.slot, name);
      }
    }
    return parameters;
  }

  @Override
  public void addParentContext(IVariableNameProvider parent) {
    if (parent instanceof LocalNameProvider) {
      taken.addAll(((LocalNameProvider) parent).taken.all());
    }
  }

  // The locals whose name comes from the table: those Vineflower has matched to one of its
  // entries. Null when the statements were not handed over.
  private Set<VarVersionPair> namedByTable() {
    if (root == null) {
      return null;
    }
    Set<VarVersionPair> named = new HashSet<>();
    collect(root, named);
    return named;
  }

  private static void collect(Statement statement, Set<VarVersionPair> named) {
    collect(statement.getVarDefinitions(), named);
    if (statement.getExprents() == null) {
      for (Statement inner : statement.getStats()) {
        collect(inner, named);
      }
      collect(statement.getStatExprents(), named);
    } else {
      collect(statement.getExprents(), named);
    }
  }

  private static void collect(List<Exprent> expressions, Set<VarVersionPair> named) {
    for (Exprent expression : expressions) {
      for (Exprent part : expression.getAllExprents(true, true)) {
        if (part instanceof VarExprent && ((VarExprent) part).getLVT() != null) {
          named.add(new VarVersionPair((VarExprent) part));
        }
      }
    }
  }
}
