package dravik.service.vineflower.names;

import java.util.ArrayList;
import java.util.List;
import org.jetbrains.java.decompiler.code.CodeConstants;
import org.jetbrains.java.decompiler.main.ClassesProcessor.ClassNode;
import org.jetbrains.java.decompiler.main.DecompilerContext;
import org.jetbrains.java.decompiler.main.extern.IFernflowerPreferences;
import org.jetbrains.java.decompiler.struct.StructClass;
import org.jetbrains.java.decompiler.struct.StructMethod;
import org.jetbrains.java.decompiler.struct.StructRecordComponent;
import org.jetbrains.java.decompiler.struct.attr.StructGeneralAttribute;
import org.jetbrains.java.decompiler.struct.attr.StructLocalVariableTableAttribute;
import org.jetbrains.java.decompiler.struct.attr.StructMethodParametersAttribute;
import org.jetbrains.java.decompiler.struct.gen.MethodDescriptor;
import org.jetbrains.java.decompiler.struct.gen.VarType;

/**
 * The parameters of a method that its class file leaves without a name, which the source then
 * names itself: not those MethodParameters or the local variable table names, nor those javac
 * added that the source does not show (an enum constructor's name and ordinal, a lambda's
 * captured values, which take the names of the variables they capture). A record's canonical
 * constructor names its parameters as the record's components, as Java requires.
 */
final class UnnamedParameters {
  /** One parameter: its slot, its type, and the name the record gives it (or null). */
  static final class Parameter {
    final int slot;
    final VarType type;
    final String component;

    Parameter(int slot, VarType type, String component) {
      this.slot = slot;
      this.type = type;
      this.component = component;
    }
  }

  private UnnamedParameters() {}

  static List<Parameter> of(StructMethod method) {
    StructClass owner =
        DecompilerContext.getStructContext().getClass(method.getClassQualifiedName());
    VarType[] types = method.methodDescriptor().params;
    List<StructRecordComponent> components = canonical(owner, method);
    List<StructMethodParametersAttribute.Entry> given = givenNames(method);
    StructLocalVariableTableAttribute table = method.getLocalVariableAttr();
    int hidden = hidden(owner, method);
    List<Parameter> parameters = new ArrayList<>();
    int slot = method.hasModifier(CodeConstants.ACC_STATIC) ? 0 : 1;
    for (int i = 0; i < types.length; slot += types[i].stackSize, i++) {
      int at = slot;
      boolean named = (given != null && i < given.size() && given.get(i).myName != null)
          || (table != null
              && table.getVariables().anyMatch(v -> v.getVersion().var == at && v.getStart() == 0));
      if (!named && i >= hidden) {
        parameters.add(
            new Parameter(slot, types[i], components == null ? null : components.get(i).getName()));
      }
    }
    return parameters;
  }

  private static List<StructMethodParametersAttribute.Entry> givenNames(StructMethod method) {
    if (!DecompilerContext.getOption(IFernflowerPreferences.USE_METHOD_PARAMETERS)) {
      return null;
    }
    StructMethodParametersAttribute attribute =
        method.getAttribute(StructGeneralAttribute.ATTRIBUTE_METHOD_PARAMETERS);
    return attribute == null ? null : attribute.getEntries();
  }

  // The record's components when the method is its canonical constructor, else null.
  private static List<StructRecordComponent> canonical(StructClass owner, StructMethod method) {
    List<StructRecordComponent> components = owner == null ? null : owner.getRecordComponents();
    if (components == null || !CodeConstants.INIT_NAME.equals(method.getName())) {
      return null;
    }
    StringBuilder descriptor = new StringBuilder("(");
    for (StructRecordComponent component : components) {
      descriptor.append(component.getDescriptor());
    }
    return descriptor.append(")V").toString().equals(method.getDescriptor()) ? components : null;
  }

  // How many leading parameters javac added that the source does not show.
  private static int hidden(StructClass owner, StructMethod method) {
    if (owner != null && owner.hasModifier(CodeConstants.ACC_ENUM)
        && CodeConstants.INIT_NAME.equals(method.getName())) {
      return 2;
    }
    ClassNode node = DecompilerContext.getClassProcessor() == null
        ? null
        : DecompilerContext.getClassProcessor().getMapRootClasses().get(
            method.getClassQualifiedName());
    return node == null ? 0 : captured(node, method);
  }

  // A lambda's captured values come first among its method's parameters.
  private static int captured(ClassNode node, StructMethod method) {
    for (ClassNode nested : node.nested) {
      ClassNode.LambdaInformation lambda = nested.lambdaInformation;
      if (lambda != null && !lambda.is_method_reference
          && method.getClassQualifiedName().equals(lambda.content_class_name)
          && method.getName().equals(lambda.content_method_name)
          && method.getDescriptor().equals(lambda.content_method_descriptor)) {
        return MethodDescriptor.parseDescriptor(lambda.content_method_descriptor).params.length
            - MethodDescriptor.parseDescriptor(lambda.method_descriptor).params.length;
      }
    }
    return 0;
  }
}
