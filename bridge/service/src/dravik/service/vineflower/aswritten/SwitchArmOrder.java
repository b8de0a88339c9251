package dravik.service.vineflower.aswritten;

import java.util.ArrayList;
import java.util.BitSet;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import org.jetbrains.java.decompiler.modules.decompiler.StatEdge;
import org.jetbrains.java.decompiler.modules.decompiler.TryWithResourcesProcessor;
import org.jetbrains.java.decompiler.modules.decompiler.exps.ExitExprent;
import org.jetbrains.java.decompiler.modules.decompiler.exps.Exprent;
import org.jetbrains.java.decompiler.modules.decompiler.stats.BasicBlockStatement;
import org.jetbrains.java.decompiler.modules.decompiler.stats.DoStatement;
import org.jetbrains.java.decompiler.modules.decompiler.stats.DummyExitStatement;
import org.jetbrains.java.decompiler.modules.decompiler.stats.Statement;
import org.jetbrains.java.decompiler.modules.decompiler.stats.SwitchStatement;
import org.jetbrains.java.decompiler.struct.StructMethod;
import org.jetbrains.java.decompiler.struct.attr.StructGeneralAttribute;
import org.jetbrains.java.decompiler.struct.attr.StructLineNumberTableAttribute;

/**
 * A switch's arms in the order of their original lines, default included (Vineflower orders them
 * by their case values). Only where the order cannot change what runs: a switch expression's
 * arms, or a switch statement's whose every arm leaves the switch by a jump the source writes
 * (break, continue, return, throw), none falling through; pattern switches, whose order decides
 * which arm is taken, keep theirs. An arm that left by running off the switch's end gets the
 * break that ending has to say elsewhere. Only with the class's line numbers.
 */
final class SwitchArmOrder {
  private SwitchArmOrder() {}

  static void apply(Statement root, StructMethod method) {
    StructLineNumberTableAttribute lines =
        method.getAttribute(StructGeneralAttribute.ATTRIBUTE_LINE_NUMBER_TABLE);
    if (lines != null) {
      visit(root, lines);
    }
  }

  private static void visit(Statement statement, StructLineNumberTableAttribute lines) {
    for (Statement inner : statement.getStats()) {
      visit(inner, lines);
    }
    if (statement instanceof SwitchStatement) {
      reorder((SwitchStatement) statement, lines);
    }
  }

  private static void reorder(SwitchStatement switchStatement, StructLineNumberTableAttribute lines) {
    List<Statement> arms = switchStatement.getCaseStatements();
    int count = arms.size();
    if (count < 2 || switchStatement.isPattern()) {
      return;
    }
    List<Integer> order = new ArrayList<>();
    int[] firstLines = new int[count];
    List<Set<StatEdge>> unwritten = new ArrayList<>();
    for (int i = 0; i < count; i++) {
      // An arm with no code of its own (a bare break) stays after the one before it.
      int line = firstLine(arms.get(i), lines);
      firstLines[i] = line >= 0 ? line : i == 0 ? Integer.MIN_VALUE : firstLines[i - 1];
      Set<StatEdge> breaks = new HashSet<>();
      // A switch expression's arms are written with arrows: none falls through.
      if (!switchStatement.isPhantom() && !leaves(switchStatement, arms.get(i), breaks)) {
        return;
      }
      order.add(i);
      unwritten.add(breaks);
    }
    order.sort((a, b) -> Integer.compare(firstLines[a], firstLines[b]));
    boolean same = true;
    for (int i = 0; i < count; i++) {
      same &= order.get(i) == i;
    }
    if (same) {
      return;
    }
    for (int i = 0; i < count - 1; i++) {
      for (StatEdge edge : unwritten.get(order.get(i))) {
        edge.explicit = true;
        edge.labeled = !directlyIn(edge.getSource(), switchStatement);
      }
    }
    permute(switchStatement.getCaseStatements(), order);
    permute(switchStatement.getCaseEdges(), order);
    permute(switchStatement.getCaseValues(), order);
    if (switchStatement.getCaseGuards().size() == count) {
      permute(switchStatement.getCaseGuards(), order);
    }
  }

  private static <T> void permute(List<T> list, List<Integer> order) {
    List<T> old = new ArrayList<>(list);
    for (int i = 0; i < order.size(); i++) {
      list.set(i, old.get(order.get(i)));
    }
  }

  // Whether every way out of the arm is a jump the source writes, none into another arm; the
  // breaks that are only the switch's end, which would have to be written if the arm moved, go
  // to unwritten.
  private static boolean leaves(SwitchStatement switchStatement, Statement arm, Set<StatEdge> unwritten) {
    Set<StatEdge> edges = new HashSet<>();
    TryWithResourcesProcessor.findEdgesLeaving(arm, arm, edges, true);
    for (StatEdge edge : edges) {
      if (edge.getType() == StatEdge.TYPE_EXCEPTION) {
        continue;
      }
      if (edge.getDestination() instanceof DummyExitStatement) {
        if (!endsInExit(edge.getSource())) {
          return false; // the end of a void method: an unwritten return
        }
      } else if (edge.getType() == StatEdge.TYPE_REGULAR) {
        return false;
      } else if (!edge.explicit) {
        if (edge.getType() != StatEdge.TYPE_BREAK || edge.closure != switchStatement) {
          return false;
        }
        unwritten.add(edge);
      }
    }
    return true;
  }

  // Whether a plain break at the source leaves the switch: no loop or switch lies between.
  private static boolean directlyIn(Statement source, SwitchStatement switchStatement) {
    for (Statement at = source.getParent(); at != null && at != switchStatement;
         at = at.getParent()) {
      if (at instanceof DoStatement || at instanceof SwitchStatement) {
        return false;
      }
    }
    return true;
  }

  private static boolean endsInExit(Statement source) {
    List<Exprent> expressions = source instanceof BasicBlockStatement ? source.getExprents() : null;
    return expressions != null && !expressions.isEmpty()
        && expressions.get(expressions.size() - 1) instanceof ExitExprent;
  }

  // The lowest original line of the arm's code; -1 where none is known.
  private static int firstLine(Statement arm, StructLineNumberTableAttribute lines) {
    BitSet offsets = new BitSet();
    collectOffsets(arm, offsets);
    int first = Integer.MAX_VALUE;
    for (int offset = offsets.nextSetBit(0); offset >= 0; offset = offsets.nextSetBit(offset + 1)) {
      int line = lines.findLineNumber(offset);
      if (line >= 0) {
        first = Math.min(first, line);
      }
    }
    return first == Integer.MAX_VALUE ? -1 : first;
  }

  private static void collectOffsets(Statement statement, BitSet offsets) {
    if (statement instanceof BasicBlockStatement) {
      for (int offset : ((BasicBlockStatement) statement).getBlock().getInstrOldOffsets()) {
        if (offset >= 0) {
          offsets.set(offset);
        }
      }
    }
    List<Exprent> expressions =
        statement.getExprents() != null ? statement.getExprents() : statement.getStatExprents();
    for (Exprent expression : expressions) {
      for (Exprent part : expression.getAllExprents(true, true)) {
        if (part.bytecode != null) {
          offsets.or(part.bytecode);
        }
      }
    }
    for (Statement inner : statement.getStats()) {
      collectOffsets(inner, offsets);
    }
  }
}
