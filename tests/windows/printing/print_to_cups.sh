#!/bin/sh
# A file printed by the built plugin to a real printer: CUPS with the cups-pdf
# queue as the default printer (set up by scripts/printer-setup), the job
# arriving as a PDF whose page count must be the number of pages the plugin
# rendered that drew anything (Wine puts out no blank page; a text whose last
# line ends a page leaves its empty final paragraph a page of its own, as on
# Windows). The pages are kept as PNG files in OUTDIR for a look.
#   print_to_cups.sh BINDIR REPO OUTDIR FILE PLUGIN
# A FILE.java is compiled and its class file shown as the Lister shows it (the
# bridge beside the plugin as jad.exe, with its engines); any other file is shown as plain
# text. Exit status 77 (skipped) when no printer can be set up.
set -eu
bin=$1 repo=$2 out=$3 file=$4 plugin=$5
mkdir -p "$out"
rm -f "$out"/page-*.png "$out"/job.pdf

if ! "$repo/scripts/printer-setup" >"$out/printer-setup.log" 2>&1; then
  echo "SKIPPED: no CUPS printer could be set up (see $out/printer-setup.log);"
  echo "scripts/printer-setup needs cups and printer-driver-cups-pdf and the right to start cupsd."
  exit 77
fi

# Where cups-pdf puts its files (its default: ~/PDF).
pdfdir=$(sed -n 's/^Out[[:space:]]*//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
[ -n "$pdfdir" ] || pdfdir='${HOME}/PDF'
pdfdir=$(printf '%s' "$pdfdir" | sed "s|\${HOME}|$HOME|")
job="dravik-print-$$"
rm -f "$pdfdir/$job"*.pdf

# The Lister's plugin folder: the plugin, the control it loads and Jad.
lister="$out/lister"
rm -rf "$lister" "$out/classes"
mkdir -p "$lister"
cp "$bin/cups_print_job.exe" "$bin/$plugin" "$lister/"
[ ! -f "$bin/riched20.dll" ] || cp "$bin/riched20.dll" "$lister/"
case "$file" in
  *.java)
    "$repo/scripts/put-bridge" "$bin" "$lister"
    # No resident service: one left running would hold ctest's output open.
    printf 'service=off\r\n' >>"$lister/jad.ini"
    javac --release 8 -nowarn -d "$out/classes" "$file"
    file=$(find "$out/classes" -name "$(basename "$file" .java).class" | head -n 1)
    [ -n "$file" ] || { echo "FAILED: javac made no class file"; exit 1; }
    ;;
esac

# Wine's drive Z: is the Unix root.
windows_file=$(printf 'Z:%s' "$file" | tr / '\\')
status=0
"$repo/scripts/wine-run" "$lister/cups_print_job.exe" "$job" "$windows_file" >"$out/job.txt" || status=$?
cat "$out/job.txt"
if [ "$status" -eq 77 ]; then
  echo "SKIPPED: Wine sees no printer although CUPS has one."
  exit 77
fi
[ "$status" -eq 0 ] || { echo "FAILED: the print job program ended with $status"; exit 1; }
rendered=$(tr -d '\r' <"$out/job.txt" | sed -n 's/^rendered //p')
inked=$(tr -d '\r' <"$out/job.txt" | sed -n 's/^inked //p')

# cups-pdf converts in the background; wait for a complete file.
pdf=""
tries=0
while [ "$tries" -lt 240 ]; do
  pdf=$(ls "$pdfdir/$job"*.pdf 2>/dev/null | head -n 1 || true)
  if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1; then break; fi
  pdf=""
  tries=$((tries + 1))
  sleep 0.5
done
[ -n "$pdf" ] || { echo "FAILED: no PDF named $job* arrived in $pdfdir"; exit 1; }
mv "$pdf" "$out/job.pdf"

pages=$(pdfinfo "$out/job.pdf" | sed -n 's/^Pages:[[:space:]]*//p')
size=$(pdfinfo "$out/job.pdf" | sed -n 's/^Page size:[[:space:]]*//p')
pdftoppm -png -r 60 "$out/job.pdf" "$out/page"
echo "PDF: $pages pages of $size; rendered by the plugin: $rendered, $inked of them with ink; PNG pages in $out"
[ "$pages" = "$inked" ] || { echo "FAILED: $pages PDF pages for $inked rendered pages with ink"; exit 1; }
