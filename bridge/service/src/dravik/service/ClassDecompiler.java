package dravik.service;

import com.beust.jcommander.JCommander;
import com.beust.jcommander.ParameterException;
import com.strobel.Procyon;
import com.strobel.assembler.ir.ConstantPool;
import com.strobel.assembler.metadata.Buffer;
import com.strobel.assembler.metadata.DeobfuscationUtilities;
import com.strobel.assembler.metadata.TypeDefinition;
import com.strobel.assembler.metadata.TypeReference;
import com.strobel.decompiler.CommandLineOptions;
import com.strobel.decompiler.DecompilationOptions;
import com.strobel.decompiler.DecompilerSettings;
import com.strobel.decompiler.PlainTextOutput;
import com.strobel.decompiler.languages.TypeDecompilationResults;
import com.strobel.decompiler.languages.java.JavaFormattingOptions;
import java.io.StringWriter;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.List;

/**
 * Procyon in this process: a class file's bytes and Procyon's command-line options in, the bytes of
 * the file that the command line ("DecompilerDriver -o DIR FILE.class", FILE.class alone in its
 * folder) would write out, with the path it would write them to. Everything the command line does
 * between its arguments and that file is done the same way, in the same order, in memory.
 */
final class ClassDecompiler {
  /** What the command line would write: the path under its output folder, and the file's bytes. */
  static final class Source {
    final String relativePath;
    final byte[] bytes;

    Source(String relativePath, byte[] bytes) {
      this.relativePath = relativePath;
      this.bytes = bytes;
    }
  }

  /** A request the service cannot answer with source; the message says why. */
  static final class Failure extends Exception {
    private static final long serialVersionUID = 1L;

    Failure(String message) {
      super(message);
    }
  }

  private ClassDecompiler() {}

  static Source decompile(byte[] classBytes, List<String> options) throws Failure {
    CommandLineOptions parsed = parseOptions(options);
    String internalName = internalNameOf(classBytes);
    RequestTypes types = RequestTypes.of(internalName, classBytes);
    DecompilerSettings settings = settingsFor(parsed);
    DecompilationOptions decompilation = new DecompilationOptions();
    decompilation.setSettings(settings);
    decompilation.setFullDecompilation(true);
    if (settings.getJavaFormattingOptions() == null) {
      settings.setJavaFormattingOptions(JavaFormattingOptions.createDefault());
    }

    types.setEagerMethodLoadingEnabled(parsed.isEagerMethodLoadingEnabled());
    TypeReference type = types.lookupType(types.entryName());
    TypeDefinition resolved = type == null ? null : type.resolve();
    if (resolved == null) {
      throw new Failure("Procyon could not load the class " + internalName + ".");
    }
    DeobfuscationUtilities.processType(resolved);

    StringWriter written = new StringWriter(classBytes.length * 2);
    PlainTextOutput output = new PlainTextOutput(written);
    output.setUnicodeOutputEnabled(settings.isUnicodeOutputEnabled());
    TypeDecompilationResults results =
        settings.getLanguage().decompileType(resolved, output, decompilation);

    // The command line writes the file in UTF-8 with --unicode and in the platform's charset
    // otherwise; its line-number rewrite reads and writes it again in the platform's charset.
    Charset platform = Charset.defaultCharset();
    byte[] bytes = written.toString().getBytes(
        settings.isUnicodeOutputEnabled() ? StandardCharsets.UTF_8 : platform);
    if (parsed.getIncludeLineNumbers() || parsed.getStretchLines()) {
      String marked =
          LineNumberMarks.apply(new String(bytes, platform), results.getLineNumberPositions(),
              parsed.getIncludeLineNumbers(), parsed.getStretchLines());
      bytes = marked.getBytes(platform);
    }
    return new Source(relativePathOf(resolved, settings), bytes);
  }

  private static CommandLineOptions parseOptions(List<String> options) throws Failure {
    CommandLineOptions parsed = new CommandLineOptions();
    JCommander commander = new JCommander(parsed);
    commander.setAllowAbbreviatedOptions(true);
    try {
      commander.parse(options.toArray(new String[0]));
    } catch (ParameterException e) {
      throw new Failure("Options not understood: " + e.getMessage());
    }
    // The service answers with Java source for the one class it is sent; what would name other
    // input, other output, or another kind of output is refused rather than ignored.
    if (!parsed.getInputs().isEmpty()) {
      throw new Failure(
          "The service takes the class as bytes, not as a name: " + parsed.getInputs());
    }
    if (parsed.getOutputDirectory() != null || parsed.getJarFile() != null) {
      throw new Failure("The service writes no files: -o and -jar are not supported.");
    }
    if (parsed.getPrintUsage() || parsed.getPrintVersion()) {
      throw new Failure("-? and --version are not supported by the service.");
    }
    if (parsed.isRawBytecode() || parsed.isBytecodeAst() || parsed.isUnoptimized()
        || parsed.isVerbose() || parsed.getShowConstantPool()
        || parsed.getShowLocalVariableDetails() || parsed.getShowTypeAttributes()) {
      throw new Failure(
          "The service writes Java only: -r, -b, -u, -v, -cp, -lv, -ta are not supported.");
    }
    if (parsed.getLogLevel() != 0) {
      throw new Failure("-ll is not supported by the service.");
    }
    return parsed;
  }

  // The settings the command line makes from the same options, in its order. It also hands the
  // settings its type loader, which nothing between a type and its source reads: the types come
  // from the metadata system, which has its own.
  private static DecompilerSettings settingsFor(CommandLineOptions parsed) {
    DecompilerSettings settings = new DecompilerSettings();
    settings.setFlattenSwitchBlocks(parsed.getFlattenSwitchBlocks());
    settings.setForceExplicitImports(!parsed.getCollapseImports());
    settings.setForceExplicitTypeArguments(parsed.getForceExplicitTypeArguments());
    settings.setRetainRedundantCasts(parsed.getRetainRedundantCasts());
    settings.setShowSyntheticMembers(parsed.getShowSyntheticMembers());
    settings.setExcludeNestedTypes(parsed.getExcludeNestedTypes());
    settings.setOutputDirectory(parsed.getOutputDirectory());
    settings.setIncludeLineNumbersInBytecode(parsed.getIncludeLineNumbers());
    settings.setRetainPointlessSwitches(parsed.getRetainPointlessSwitches());
    settings.setUnicodeOutputEnabled(parsed.isUnicodeOutputEnabled());
    settings.setMergeVariables(parsed.getMergeVariables());
    settings.setShowDebugLineNumbers(parsed.getShowDebugLineNumbers());
    settings.setSimplifyMemberReferences(parsed.getSimplifyMemberReferences());
    settings.setForceFullyQualifiedReferences(parsed.getForceFullyQualifiedReferences());
    settings.setDisableForEachTransforms(parsed.getDisableForEachTransforms());
    settings.setForcedCompilerTarget(parsed.getCompilerTargetOverride());
    settings.setTextBlockLineMinimum(parsed.getTextBlockLineMinimum());
    if (!parsed.getSuppressBanner()) {
      settings.setOutputFileHeaderText("\nDecompiled by Procyon v" + Procyon.version() + "\n");
    }
    return settings;
  }

  // The class's own name from its constant pool, read as Procyon's file loader reads it.
  private static String internalNameOf(byte[] classBytes) throws Failure {
    try {
      Buffer buffer = new Buffer(classBytes);
      if ((buffer.readInt() & 0xFFFFFFFFL) != 0xCAFEBABEL) {
        throw new Failure("Not a class file.");
      }
      buffer.readUnsignedShort();
      buffer.readUnsignedShort();
      ConstantPool pool = ConstantPool.read(buffer);
      buffer.readUnsignedShort();
      ConstantPool.TypeInfoEntry self = pool.getEntry(buffer.readUnsignedShort());
      String name = self.getName();
      if (name == null || name.isEmpty()) {
        throw new Failure("The class file names no class.");
      }
      return name;
    } catch (RuntimeException e) {
      throw new Failure("Not a readable class file: " + e);
    }
  }

  private static String relativePathOf(TypeDefinition type, DecompilerSettings settings) {
    String file = type.getName() + settings.getLanguage().getFileExtension();
    String packageName = type.getPackageName();
    if (packageName == null || packageName.trim().isEmpty()) {
      return file;
    }
    return packageName.replace('.', '/') + "/" + file;
  }
}
