package dravik.service.vineflower.names;

import dravik.service.engine.JadNamesFromTypes;
import org.jetbrains.java.decompiler.api.java.JavaPassLocation;
import org.jetbrains.java.decompiler.api.java.JavaPassRegistrar;
import org.jetbrains.java.decompiler.api.plugin.Plugin;
import org.jetbrains.java.decompiler.api.plugin.pass.NamedPass;
import org.jetbrains.java.decompiler.main.DecompilerContext;
import org.jetbrains.java.decompiler.main.extern.IVariableNameProvider;
import org.jetbrains.java.decompiler.main.extern.IVariableNamingFactory;

/**
 * Vineflower's plugin for locals' names (LocalNameProvider): with --jad-names-for-unnamed=1 a local
 * keeps the name the class's local variable table gives it, and one the table does not name gets a
 * Jad-style name. Vineflower finds it through the service loader (META-INF/services), so it is
 * there wherever the service's jar is on the class path; without the option it changes nothing.
 */
public final class LocalNamesPlugin implements Plugin {
  static final String OPTION = JadNamesFromTypes.OPTION;

  @Override
  public String id() {
    return "DravikLocalNames";
  }

  @Override
  public String description() {
    return "Names from the local variable table, Jad-style names for locals it does not name.";
  }

  @Override
  public void registerJavaPasses(JavaPassRegistrar registrar) {
    // The names need to know which locals Vineflower matched to the table, which only its
    // statements tell: they are handed over just before the names are asked for.
    registrar.register(JavaPassLocation.AFTER_MAIN, new NamedPass("DravikLocalNames", context -> {
      IVariableNameProvider names = context.getMethod().getVariableNamer();
      if (names instanceof LocalNameProvider) {
        ((LocalNameProvider) names).decompiled(context.getRoot(), context.getVarProc());
      }
      return false;
    }));
  }

  @Override
  public IVariableNamingFactory getRenamingFactory() {
    return "1".equals(DecompilerContext.getProperty(OPTION)) ? LocalNameProvider::new : null;
  }
}
