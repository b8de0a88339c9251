package dravik.service.vineflower.aswritten;

import org.jetbrains.java.decompiler.api.java.ClassPassLocation;
import org.jetbrains.java.decompiler.api.java.JavaPassLocation;
import org.jetbrains.java.decompiler.api.java.JavaPassRegistrar;
import org.jetbrains.java.decompiler.api.plugin.Plugin;
import org.jetbrains.java.decompiler.api.plugin.pass.NamedPass;
import org.jetbrains.java.decompiler.main.DecompilerContext;

/**
 * Vineflower's plugin for source that reads as the class was written, with --as-written=1: char
 * constants as char literals (CharLiterals), switch arms in the order of their lines
 * (SwitchArmOrder), a lambda's local with its type arguments (LambdaLocalTypes), other classes'
 * names with the '$' they have (ClassNames). Found by the service
 * loader as LocalNamesPlugin is; without the option it changes nothing.
 */
public final class AsWrittenPlugin implements Plugin {
  static final String OPTION = "as-written";

  @Override
  public String id() {
    return "DravikAsWritten";
  }

  @Override
  public String description() {
    return "Char literals, switch arms in their lines' order, class names with their '$'.";
  }

  @Override
  public void registerJavaPasses(JavaPassRegistrar registrar) {
    registrar.register(JavaPassLocation.BEFORE_MAIN, new NamedPass("DravikCharLiterals", context -> {
      if (asked()) {
        CharLiterals.concatenated(
            context.getRoot(), context.getGraph(), context.getEnclosingClass().getPool());
        CharLiterals.apply(context.getRoot());
      }
      return false;
    }));
    registrar.register(JavaPassLocation.AT_END, new NamedPass("DravikAsWritten", context -> {
      if (asked()) {
        CharLiterals.apply(context.getRoot());
        SwitchArmOrder.apply(context.getRoot(), context.getMethod());
        LambdaLocalTypes.apply(context.getRoot());
      }
      return false;
    }));
    // Before writing: Vineflower gives the collector it made the class's own names as it
    // processes the class, and writes through whichever the context holds.
    registrar.registerClassPass(ClassPassLocation.BEFORE_WRITING, root -> {
      if (asked()) {
        DecompilerContext.setImportCollector(new ClassNames(DecompilerContext.getImportCollector()));
      }
      return false;
    });
  }

  private static boolean asked() {
    return "1".equals(DecompilerContext.getProperty(OPTION));
  }
}
