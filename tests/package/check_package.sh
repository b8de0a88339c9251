#!/bin/sh
# Checks the install package: the five files inside the zip, the auto-install
# fields of pluginst.inf with the project's version, and both plugins inside it.
#   check_package.sh ZIP VERSION
set -eu
export LC_ALL=C
zip="$1"
version="$2"
fail() { echo "package: $*"; exit 1; }

[ -f "$zip" ] || fail "no $zip"
names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$names" = "LICENSE.txt dravik.wlx dravik.wlx64 pluginst.inf readme.txt " ] || fail "zip holds: $names"

inf=$(unzip -p "$zip" pluginst.inf | tr -d '\r')
field() { echo "$inf" | sed -n "s/^$1=//p"; }
[ "$(echo "$inf" | head -n 1)" = "[plugininstall]" ] || fail "pluginst.inf has no [plugininstall] section"
[ "$(field type)" = "wlx" ] || fail "type is not wlx"
# The 64-bit Total Commander appends "64" itself.
[ "$(field file)" = "dravik.wlx" ] || fail "file is not dravik.wlx"
[ "$(field defaultdir)" = "dravik" ] || fail "defaultdir is not dravik"
[ -n "$(field description)" ] || fail "no description"
[ "$(field version)" = "$version" ] || fail "version is '$(field version)', not $version"
unzip -p "$zip" readme.txt | grep -q "jad.exe" || fail "readme does not say where jad.exe goes"

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
echo "package $zip: 5 files, pluginst.inf and both version resources at $version"
