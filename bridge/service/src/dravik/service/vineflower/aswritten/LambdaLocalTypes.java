package dravik.service.vineflower.aswritten;

import java.util.ArrayList;
import java.util.List;
import org.jetbrains.java.decompiler.modules.decompiler.exps.AssignmentExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.Exprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.NewExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.VarExprent;
import org.jetbrains.java.decompiler.modules.decompiler.stats.Statement;
import org.jetbrains.java.decompiler.modules.decompiler.vars.VarVersionPair;
import org.jetbrains.java.decompiler.struct.gen.CodeType;
import org.jetbrains.java.decompiler.struct.gen.VarType;
import org.jetbrains.java.decompiler.struct.gen.generics.GenericType;

/**
 * A local that holds a lambda, declared with the type arguments the lambda has: without a local
 * variable table Vineflower declares it with the interface's raw type ("Function function =
 * modern -> modern.name()"), whose lambda then takes an Object, and the source does not compile.
 * The arguments are those Vineflower infers for the lambda from its method; only where they are
 * all classes (no type variable) and the local is assigned once.
 */
final class LambdaLocalTypes {
  private LambdaLocalTypes() {}

  static void apply(Statement root) {
    List<AssignmentExprent> assignments = new ArrayList<>();
    collect(root, assignments);
    for (AssignmentExprent assignment : assignments) {
      if (!(assignment.getLeft() instanceof VarExprent)
          || !(assignment.getRight() instanceof NewExprent)) {
        continue;
      }
      VarExprent local = (VarExprent) assignment.getLeft();
      NewExprent lambda = (NewExprent) assignment.getRight();
      VarType declared = local.getVarType();
      if (!lambda.isLambda() || local.getLVT() != null || local.getProcessor() == null
          || declared == null || declared.isGeneric() || once(assignments, local) != 1) {
        continue;
      }
      VarType inferred = lambda.getInferredExprType(null);
      if (inferred instanceof GenericType && inferred.value != null
          && inferred.value.equals(declared.value) && concrete((GenericType) inferred)) {
        local.getProcessor().setVarType(local.getVarVersionPair(), inferred);
      }
    }
  }

  private static int once(List<AssignmentExprent> assignments, VarExprent local) {
    VarVersionPair pair = local.getVarVersionPair();
    int count = 0;
    for (AssignmentExprent assignment : assignments) {
      if (assignment.getLeft() instanceof VarExprent
          && pair.equals(((VarExprent) assignment.getLeft()).getVarVersionPair())) {
        count++;
      }
    }
    return count;
  }

  private static boolean concrete(GenericType type) {
    if (type.getArguments().isEmpty()) {
      return false;
    }
    for (VarType argument : type.getArguments()) {
      if (argument == null || argument.type != CodeType.OBJECT
          || (argument instanceof GenericType && ((GenericType) argument).getWildcard() != GenericType.WILDCARD_NO)
          || (argument instanceof GenericType && !((GenericType) argument).getArguments().isEmpty()
              && !concrete((GenericType) argument))) {
        return false;
      }
    }
    return true;
  }

  private static void collect(Statement statement, List<AssignmentExprent> assignments) {
    List<Exprent> expressions =
        statement.getExprents() != null ? statement.getExprents() : statement.getStatExprents();
    for (Exprent expression : expressions) {
      for (Exprent part : expression.getAllExprents(true, true)) {
        if (part instanceof AssignmentExprent) {
          assignments.add((AssignmentExprent) part);
        }
      }
    }
    for (Exprent definition : statement.getVarDefinitions()) {
      for (Exprent part : definition.getAllExprents(true, true)) {
        if (part instanceof AssignmentExprent) {
          assignments.add((AssignmentExprent) part);
        }
      }
    }
    for (Statement inner : statement.getStats()) {
      collect(inner, assignments);
    }
  }
}
