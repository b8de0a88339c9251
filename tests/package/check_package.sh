#!/bin/sh
# Checks the install package: both plugins, their four companions and the
# bridge's files (BRIDGE_FILES, as bridge/CMakeLists.txt lists them) inside the
# zip, the auto-install fields of pluginst.inf with the project's version, both
# plugins inside it, and the bridge: a console program with its engines' jars and
# licences.
#   check_package.sh ZIP VERSION "BRIDGE_FILES"
set -eu
export LC_ALL=C
zip="$1"
version="$2"
bridge_files=$(echo "$3" | tr ';' '\n')
fail() { echo "package: $*"; exit 1; }

[ -f "$zip" ] || fail "no $zip"
names=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
plugin_files="LICENSE.txt dravik.wlx dravik.wlx64 pluginst.inf readme.txt"
expected=$(printf '%s\n' $plugin_files $bridge_files | sort | tr '\n' ' ')
[ "$names" = "$expected" ] || fail "zip holds: $names; expected: $expected"

inf=$(unzip -p "$zip" pluginst.inf | tr -d '\r')
field() { echo "$inf" | sed -n "s/^$1=//p"; }
[ "$(echo "$inf" | head -n 1)" = "[plugininstall]" ] || fail "pluginst.inf has no [plugininstall] section"
[ "$(field type)" = "wlx" ] || fail "type is not wlx"
# The 64-bit Total Commander appends "64" itself.
[ "$(field file)" = "dravik.wlx" ] || fail "file is not dravik.wlx"
[ "$(field defaultdir)" = "dravik" ] || fail "defaultdir is not dravik"
[ -n "$(field description)" ] || fail "no description"
[ "$(field version)" = "$version" ] || fail "version is '$(field version)', not $version"
unzip -p "$zip" readme.txt | grep -q "Java runtime" || fail "readme does not say that a Java runtime is needed"
# Every @NAME@ of the source filled in, the engines' versions among them.
! unzip -p "$zip" readme.txt pluginst.inf jad.ini | grep -q '@[A-Z_]*@' || fail "a @NAME@ left unfilled"
unzip -p "$zip" readme.txt | tr -s " \r\n" "   " | grep -q "Vineflower [0-9]" || fail "the readme names no Vineflower version"

# The plugins inside are the ones the tests checked: format, exports and version resource.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" dravik.wlx dravik.wlx64 -d "$tmp"
sh "$(dirname "$0")/../windows/check_dll_exports.sh" "$tmp/dravik.wlx" "$tmp/dravik.wlx64" ||
  fail "export table"
for plugin in dravik.wlx dravik.wlx64; do
  strings -e l "$tmp/$plugin" | grep -qx "$version" || fail "no version $version in $plugin"
  strings -e l "$tmp/$plugin" | grep -qx "$plugin" || fail "no original file name in $plugin"
done

# The bridge: jad.exe beside the plugin, both engines and the service in the
# decompiler folder with the engines' licence texts, no Procyon, and a
# settings file that changes nothing until edited.
unzip -q "$zip" jad.exe jad.ini 'decompiler/*' -d "$tmp"
sh "$(dirname "$0")/../windows/bridge/check_exe_imports.sh" "$tmp/jad.exe" >/dev/null || fail "jad.exe imports"
# 32-bit, so that it runs under every Windows that runs either plugin.
"${OBJDUMP:-x86_64-w64-mingw32-objdump}" -p "$tmp/jad.exe" | grep -q 'file format pei-i386' ||
  fail "jad.exe is not the 32-bit bridge"
unzip -l "$tmp/decompiler/vineflower.jar" | grep -q 'org/jetbrains/java/decompiler/main/decompiler/ConsoleDecompiler.class' ||
  fail "no Vineflower in decompiler/vineflower.jar"
unzip -l "$tmp/decompiler/cfr.jar" | grep -q 'org/benf/cfr/reader/Main.class' || fail "no CFR in decompiler/cfr.jar"
unzip -l "$tmp/decompiler/dravik-decompile-service.jar" | grep -q 'dravik/service/DecompileService.class' ||
  fail "no decompile service in decompiler/dravik-decompile-service.jar"
grep -q 'Apache License' "$tmp/decompiler/LICENSE-vineflower.txt" || fail "no Vineflower licence"
grep -q 'Lee Benfield' "$tmp/decompiler/LICENSE-cfr.txt" || fail "no CFR licence"
! echo "$names" | grep -qi procyon || fail "Procyon is still in the package"
[ -z "$(tr -d '\r' <"$tmp/jad.ini" | grep -v '^;' | grep '=')" ] || fail "jad.ini sets something"
echo "package $zip: $(echo $names | wc -w) files, pluginst.inf and both version resources at $version"
