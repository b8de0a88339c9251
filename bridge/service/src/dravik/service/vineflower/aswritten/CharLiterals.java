package dravik.service.vineflower.aswritten;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.BitSet;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.jetbrains.java.decompiler.code.CodeConstants;
import org.jetbrains.java.decompiler.code.Instruction;
import org.jetbrains.java.decompiler.code.cfg.BasicBlock;
import org.jetbrains.java.decompiler.code.cfg.ControlFlowGraph;
import org.jetbrains.java.decompiler.modules.decompiler.exps.AssignmentExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.ConstExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.ExitExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.Exprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.FunctionExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.FunctionExprent.FunctionType;
import org.jetbrains.java.decompiler.modules.decompiler.exps.InvocationExprent;
import org.jetbrains.java.decompiler.modules.decompiler.stats.Statement;
import org.jetbrains.java.decompiler.struct.consts.ConstantPool;
import org.jetbrains.java.decompiler.struct.consts.LinkConstant;
import org.jetbrains.java.decompiler.struct.gen.MethodDescriptor;
import org.jetbrains.java.decompiler.struct.gen.VarType;

/**
 * Integer constants that the class uses as chars written as char literals: the arguments of char
 * parameters (StringBuilder.append(char) before Vineflower makes it a concatenation,
 * Character.valueOf), values stored in a char field, array element or local, returned from a
 * method of type char, or compared with a char; through conditional expressions too, which
 * Vineflower types as int whenever both sides are constants, so that "x" + (b ? '[' : '(')
 * appended the numbers 91 and 40. Run before Vineflower's main loop (so that a char local is
 * typed char) and at its end (for what the loop made, and for types settled since). A string
 * concatenation by invokedynamic is one already then: its arguments' types come from the call's
 * descriptor in the bytecode (concatenated).
 */
final class CharLiterals {
  private static final String CONCAT_FACTORY = "java/lang/invoke/StringConcatFactory";

  private CharLiterals() {}

  /**
   * The arguments of char type of each string concatenation by invokedynamic in the method's code,
   * made a concatenation (STR_CONCAT) before Vineflower's main loop.
   */
  static void concatenated(Statement root, ControlFlowGraph graph, ConstantPool pool) {
    Map<Integer, VarType[]> calls = new HashMap<>();
    for (BasicBlock block : graph.getBlocks()) {
      List<Integer> offsets = block.getInstrOldOffsets();
      for (int i = 0; i < block.getSeq().length() && i < offsets.size(); i++) {
        Instruction instruction = block.getSeq().getInstr(i);
        if (instruction.opcode == CodeConstants.opc_invokedynamic) {
          LinkConstant call = pool.getLinkConstant(instruction.operand(0));
          if (call.elementname.startsWith("makeConcat")) {
            calls.put(offsets.get(i), MethodDescriptor.parseDescriptor(call.descriptor).params);
          }
        }
      }
    }
    if (!calls.isEmpty()) {
      concatenated(root, calls);
    }
  }

  private static void concatenated(Statement statement, Map<Integer, VarType[]> calls) {
    for (Statement inner : statement.getStats()) {
      concatenated(inner, calls);
    }
    List<Exprent> expressions =
        statement.getExprents() != null ? statement.getExprents() : statement.getStatExprents();
    for (Exprent expression : expressions) {
      for (Exprent part : expression.getAllExprents(true, true)) {
        if (isConcatenation(part, -1)) {
          for (Map.Entry<Integer, VarType[]> call : calls.entrySet()) {
            if (part.bytecode != null && part.bytecode.get(call.getKey())) {
              arguments(part, call.getKey(), call.getValue(), new int[1]);
            }
          }
        }
      }
    }
  }

  private static boolean isConcatenation(Exprent expression, int offset) {
    return expression instanceof FunctionExprent
        && ((FunctionExprent) expression).getFuncType() == FunctionType.STR_CONCAT
        && (offset < 0 || (expression.bytecode != null && expression.bytecode.get(offset)));
  }

  // The concatenation's operands left to right are the recipe's text, which has the call's
  // offsets, and the call's arguments in order.
  private static void arguments(Exprent concatenation, int offset, VarType[] types, int[] next) {
    List<Exprent> operands = ((FunctionExprent) concatenation).getLstOperands();
    for (Exprent operand : new ArrayList<>(operands)) {
      if (isConcatenation(operand, offset)) {
        arguments(operand, offset, types, next);
      } else if (!(operand instanceof ConstExprent && operand.bytecode != null
                     && operand.bytecode.get(offset)
                     && VarType.VARTYPE_STRING.equals(operand.getExprType()))
          && next[0] < types.length) {
        if (VarType.VARTYPE_CHAR.equals(types[next[0]++])) {
          asChar(concatenation, operand);
        }
      }
    }
  }

  static void apply(Statement statement) {
    if (statement.getExprents() == null) {
      for (Statement inner : statement.getStats()) {
        apply(inner);
      }
      apply(statement.getStatExprents());
    } else {
      apply(statement.getExprents());
    }
    apply(statement.getVarDefinitions());
  }

  private static void apply(List<Exprent> expressions) {
    for (Exprent expression : expressions) {
      for (Exprent part : expression.getAllExprents(true, true)) {
        inContext(part);
      }
    }
  }

  // The char contexts one expression gives its operands.
  private static void inContext(Exprent expression) {
    if (expression instanceof InvocationExprent) {
      InvocationExprent call = (InvocationExprent) expression;
      VarType[] parameters = call.getDescriptor().params;
      List<Exprent> arguments = call.getLstParameters();
      for (int i = 0; i < parameters.length && i < arguments.size(); i++) {
        if (VarType.VARTYPE_CHAR.equals(parameters[i])) {
          asChar(expression, arguments.get(i));
        }
      }
    } else if (expression instanceof AssignmentExprent) {
      AssignmentExprent assignment = (AssignmentExprent) expression;
      if (isChar(assignment.getLeft())) {
        asChar(expression, assignment.getRight());
      }
    } else if (expression instanceof ExitExprent) {
      ExitExprent exit = (ExitExprent) expression;
      if (exit.getExitType() == ExitExprent.Type.RETURN && exit.getValue() != null
          && VarType.VARTYPE_CHAR.equals(exit.getRetType())) {
        asChar(expression, exit.getValue());
      }
    } else if (expression instanceof FunctionExprent) {
      FunctionExprent function = (FunctionExprent) expression;
      FunctionType type = function.getFuncType();
      if (type.ordinal() >= FunctionType.EQ.ordinal() && type.ordinal() <= FunctionType.LE.ordinal()) {
        Exprent left = function.getLstOperands().get(0);
        Exprent right = function.getLstOperands().get(1);
        if (isChar(left)) {
          asChar(expression, right);
        } else if (isChar(right)) {
          asChar(expression, left);
        }
      }
    }
  }

  private static boolean isChar(Exprent expression) {
    return VarType.VARTYPE_CHAR.equals(expression.getExprType());
  }

  // The value written as a char where it is a constant or a choice of constants.
  private static void asChar(Exprent parent, Exprent value) {
    Exprent written = written(value);
    if (written != null && written != value) {
      parent.replaceExprent(value, written);
    }
  }

  // The char form of a value, null where it has none: an int constant that fits a char, or a
  // conditional expression of such (nested too).
  private static Exprent written(Exprent value) {
    if (value instanceof Literal) {
      return value;
    }
    if (value instanceof ConstExprent) {
      ConstExprent constant = (ConstExprent) value;
      Object number = constant.getValue();
      if (constant.getConstType().typeFamily == VarType.VARTYPE_INT.typeFamily
          && number instanceof Integer && (Integer) number >= 0 && (Integer) number <= 0xFFFF) {
        return new Literal((Integer) number, constant.bytecode);
      }
      return null;
    }
    if (value instanceof FunctionExprent
        && ((FunctionExprent) value).getFuncType() == FunctionType.CAST
        && VarType.VARTYPE_CHAR.equals(
            ((FunctionExprent) value).getLstOperands().get(1).getExprType())) {
      return written(((FunctionExprent) value).getLstOperands().get(0)); // (char) no longer needed
    }
    if (value instanceof FunctionExprent
        && ((FunctionExprent) value).getFuncType() == FunctionType.TERNARY) {
      List<Exprent> operands = ((FunctionExprent) value).getLstOperands();
      Exprent first = written(operands.get(1));
      Exprent second = written(operands.get(2));
      if (first == null || second == null) {
        return null;
      }
      return new Choice(operands.get(0), first, second, value.bytecode);
    }
    return null;
  }

  /** A char constant: stays a char whatever Vineflower's typing later makes of int constants. */
  static final class Literal extends ConstExprent {
    Literal(int value, BitSet bytecode) {
      super(VarType.VARTYPE_CHAR, value, bytecode);
    }

    @Override
    public void setConstType(VarType type) {}

    @Override
    public void adjustConstType(VarType expected) {}

    @Override
    public Exprent copy() {
      return new Literal(getIntValue(), bytecode);
    }
  }

  /** A conditional expression of char literals, of type char (Vineflower would say int). */
  static final class Choice extends FunctionExprent {
    Choice(Exprent condition, Exprent first, Exprent second, BitSet bytecode) {
      super(FunctionType.TERNARY, new ArrayList<>(Arrays.asList(condition, first, second)), bytecode);
    }

    @Override
    public VarType getExprType() {
      return VarType.VARTYPE_CHAR;
    }

    @Override
    public VarType getInferredExprType(VarType upperBound) {
      return VarType.VARTYPE_CHAR;
    }

    @Override
    public Exprent copy() {
      List<Exprent> operands = getLstOperands();
      return new Choice(operands.get(0).copy(), operands.get(1).copy(), operands.get(2).copy(),
          bytecode);
    }
  }
}
