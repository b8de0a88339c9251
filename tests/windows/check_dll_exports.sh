#!/bin/sh
# Checks the built plugin file: named dravik.wlx64 in its export directory,
# exactly the fourteen lister exports, and only Windows system DLLs imported.
set -eu
dll="$1"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
dump=$("$objdump" -p "$dll")

echo "$dump" | grep -q 'file format pei-x86-64' || { echo "not a PE32+ file: $dll"; exit 1; }
echo "$dump" | grep -q 'Name .*dravik\.wlx64' || { echo "export directory does not name dravik.wlx64"; exit 1; }

exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed 1d | grep -o '\] [A-Za-z_0-9]*$' | cut -c3- | sort)
expected=$(printf '%s\n' ListCloseWindow ListGetDetectString ListGetPreviewBitmap ListGetPreviewBitmapW \
  ListLoad ListLoadNext ListLoadNextW ListLoadW ListNotificationReceived ListPrint ListSearchDialog \
  ListSearchText ListSendCommand ListSetDefaultParams | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ:"; echo "$exports"; exit 1
fi

imports=$(echo "$dump" | grep 'DLL Name:' | awk '{print tolower($3)}' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|gdi32.dll|comdlg32.dll|shell32.dll|msvcrt.dll|advapi32.dll|api-ms-win-crt-*) ;;
    *) echo "imports a non-system DLL: $name"; exit 1 ;;
  esac
done
echo "14 exports, imports: $(echo $imports)"
