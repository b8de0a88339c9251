#!/bin/sh
# Checks a built plugin file: dravik.wlx64 a PE32+ (x86-64) DLL, dravik.wlx a
# PE32 (i386) one, each naming itself in its export directory, with exactly the
# fifteen lister exports under their plain names and only Windows system DLLs
# imported.
#   check_dll_exports.sh FILE...
set -eu
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
expected=$(printf '%s\n' ListCloseWindow ListGetDetectString ListGetPreviewBitmap ListGetPreviewBitmapW \
  ListLoad ListLoadNext ListLoadNextW ListLoadW ListNotificationReceived ListPrint ListSearchDialog \
  ListSearchText ListSearchTextW ListSendCommand ListSetDefaultParams | sort)

for dll in "$@"; do
  name=$(basename "$dll")
  case "$name" in
    *.wlx64) format=pei-x86-64 ;;
    *.wlx) format=pei-i386 ;;
    *) echo "not a plugin file name: $name"; exit 1 ;;
  esac
  dump=$("$objdump" -p "$dll")
  echo "$dump" | grep -q "file format $format\$" || { echo "$name: not $format"; exit 1; }
  echo "$dump" | grep -q "^Name .*[ \\]$(echo "$name" | sed 's/\./\\./g')\$" ||
    { echo "$name: the export directory names another file"; exit 1; }

  # A decorated name (ListLoad@12) would not match and leave one short.
  exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed 1d |
    grep -o '\] [A-Za-z_0-9]*$' | cut -c3- | sort)
  if [ "$exports" != "$expected" ]; then
    echo "$name: exports differ:"; echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p'; exit 1
  fi

  imports=$(echo "$dump" | grep 'DLL Name:' | awk '{print tolower($3)}' | sort -u)
  for import in $imports; do
    case "$import" in
      kernel32.dll|user32.dll|gdi32.dll|comdlg32.dll|shell32.dll|msvcrt.dll|advapi32.dll|api-ms-win-crt-*) ;;
      *) echo "$name imports a non-system DLL: $import"; exit 1 ;;
    esac
  done
  echo "$name: $format, 15 exports, imports: $(echo $imports)"
done
