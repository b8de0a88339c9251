#!/bin/sh
# Checks the install package: the four files inside the zip, the auto-install
# fields of pluginst.inf with the project's version, and the plugin inside it.
#   check_package.sh ZIP VERSION
set -eu
zip="$1"
version="$2"
fail() { echo "package: $*"; exit 1; }

[ -f "$zip" ] || fail "no $zip"
names=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$names" = "LICENSE.txt dravik.wlx64 pluginst.inf readme.txt " ] || fail "zip holds: $names"

inf=$(unzip -p "$zip" pluginst.inf | tr -d '\r')
field() { echo "$inf" | sed -n "s/^$1=//p"; }
[ "$(echo "$inf" | head -n 1)" = "[plugininstall]" ] || fail "pluginst.inf has no [plugininstall] section"
[ "$(field type)" = "wlx" ] || fail "type is not wlx"
[ "$(field file)" = "dravik.wlx64" ] || fail "file is not dravik.wlx64"
[ -n "$(field defaultdir)" ] || fail "no defaultdir"
[ -n "$(field description)" ] || fail "no description"
[ "$(field version)" = "$version" ] || fail "version is '$(field version)', not $version"
unzip -p "$zip" readme.txt | grep -q "jad.exe" || fail "readme does not say where jad.exe goes"

# The plugin inside is the one the tests checked: exports and version resource.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" dravik.wlx64 -d "$tmp"
sh "$(dirname "$0")/../windows/check_dll_exports.sh" "$tmp/dravik.wlx64" >/dev/null || fail "export table"
strings -e l "$tmp/dravik.wlx64" | grep -qx "$version" || fail "no version $version in the version resource"
strings -e l "$tmp/dravik.wlx64" | grep -qx "dravik.wlx64" || fail "no original file name in the version resource"
echo "package $zip: 4 files, pluginst.inf and version resource at $version"
