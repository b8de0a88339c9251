#!/bin/sh
# Checks a built program for the package: a console program (PE32+ from the
# 64-bit build, PE32 from the 32-bit one) that imports Windows system DLLs only
# (the C++ runtime linked in).
#   check_exe_imports.sh PROGRAM.exe
set -eu
exe="$1"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
dump=$("$objdump" -p "$exe")

echo "$dump" | grep -qE 'file format pei-(x86-64|i386)' || { echo "not a PE file: $exe"; exit 1; }
echo "$dump" | grep -q 'Subsystem.*(Windows CUI)' || { echo "not a console program: $exe"; exit 1; }
imports=$(echo "$dump" | grep 'DLL Name:' | awk '{print tolower($3)}' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|advapi32.dll|shell32.dll|ws2_32.dll|msvcrt.dll|api-ms-win-crt-*) ;;
    *) echo "imports a non-system DLL: $name"; exit 1 ;;
  esac
done
echo "console program, imports: $(echo $imports)"
