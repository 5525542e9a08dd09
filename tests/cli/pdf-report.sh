#!/usr/bin/env bash
# The bundled example project printed to PDF through pembrill-cli: every
# section starts on a page of its own with its own header and footer and a
# bookmark, the text can be searched, its fonts are embedded as subsets, the
# file has the permissions the umask gives, and no print file is left behind.
# A job ended by a signal leaves no partial PDF file.
#
#   pdf-report.sh PEMBRILL_CLI DFMCONVERT EXAMPLE_DIR
set -u
cli=$(realpath "$1") dfmconvert=$(realpath "$2") example=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$example/." "$work/project"
mkdir -p "$work/registry" "$work/delphi2/bin" "$work/tmp"
printf '#!/bin/sh\nexec "%s" "$@"\n' "$dfmconvert" >"$work/delphi2/bin/convert.exe"
chmod +x "$work/delphi2/bin/convert.exe"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]\r\n"Rootdir"="%s"\r\n' \
    "$work/delphi2" >"$work/registry/HKEY_LOCAL_MACHINE.reg"

failed=0
check() { # description, command...
    local description=$1
    shift
    if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failed=1; fi
}

# env runs the program in its own process, so that $! of a job is the CLI's.
run=(env TMPDIR="$work/tmp" PEMBRILL_REGISTRY="$work/registry" XDG_RUNTIME_DIR="$work/tmp"
    QT_QPA_PLATFORM=offscreen "$cli")

# Both names are relative to the caller's directory, not the project's.
cd "$work"
umask 027
"${run[@]}" --analyze --dependencies --sources all --objects all --properties --pdf report.pdf \
    project/Ledger.dpr 2>"$work/err"
cd "$work/project"
check "the run gives no message" test ! -s "$work/err"
check "the PDF is where the caller named it" test -f "$work/report.pdf"
check "it has the permissions the umask gives" test "$(stat -c %a "$work/report.pdf")" = 640
check "no print file is left" test -z "$(ls "$work/tmp" | grep '^pbx')"

# From the end of each row of pdffonts: emb, sub, uni, object number, generation.
check "every font is embedded as a subset with its characters" awk \
    'NR > 2 { fonts++; if ($(NF-4) != "yes" || $(NF-3) != "yes" || $(NF-2) != "yes") bad = 1 }
     END { exit bad || !fonts }' <(pdffonts "$work/report.pdf")
pages=$(pdfinfo "$work/report.pdf" | awk '/^Pages:/ { print $2 }')
check "the report has pages" test "${pages:-0}" -ge 8
# One text file per page, to see what stands on which page.
for ((page = 1; page <= pages; page++)); do
    pdftotext -layout -f $page -l $page "$work/report.pdf" "$work/page$page.txt"
done
header_of() { sed -n '/[^[:space:]]/{p;q}' "$work/page$1.txt"; }
check "page 1 is the dependency section" \
    grep -q "^Source Dependencies for: $work/project/Ledger.dpr" <(header_of 1)
check "its tree is there" grep -q "^      LedgerData" "$work/page1.txt"
check "its footer names the section and numbers the page" \
    grep -Eq "Source Dependencies +Page 1$" "$work/page1.txt"
check "page 2 begins the project file's listing" \
    grep -q "^Source Code for: $work/project/Ledger.dpr" <(header_of 2)
check "its footer names the file and starts again at page 1" \
    grep -Eq "Ledger.dpr +Page 1$" "$work/page2.txt"
# The layout spaces proportional text as it likes: compare without blanks.
check "every line of a listing is there in order" \
    diff <(grep -E '^ *[0-9]+:' "$work/page2.txt" | sed -E 's/^ *[0-9]+://; s/[[:space:]]//g') \
    <(tr -d '\r' <Ledger.dpr | sed -E 's/[[:space:]]//g')
last=$pages
check "the last page is the objects section" grep -q "^Objects for: " <(header_of $last)
check "the objects section shows properties" grep -q "Caption = 'Household Ledger'" \
    <(cat "$work"/page*.txt)

# The outline: "PAGE TITLE" for each bookmark, as mutool lists them.
mutool show "$work/report.pdf" outline | sed -E 's/^[|+-]\t"(.*)"\t#page=([0-9]+).*/\2 \1/' \
    >"$work/outline.txt"
firsts=$(grep -lE 'Page 1$' "$work"/page*.txt | sed -E 's/.*page([0-9]+)\.txt/\1/' | sort -n)
check "one bookmark for each section, at its first page" \
    test "$(cut -d' ' -f1 "$work/outline.txt")" = "$firsts"
check "the dependency section is named by its header" \
    grep -qx "1 Source Dependencies for: $work/project/Ledger.dpr" "$work/outline.txt"
check "a listing is named by its file" grep -qx "2 Ledger.dpr" "$work/outline.txt"
check "the objects section is named by its header" test "$(tail -n 1 "$work/outline.txt")" = \
    "$(tail -n 1 <<<"$firsts") Objects for: $work/project/Ledger.dpr"

# A listing long enough to be caught while its PDF is written.
mkdir "$work/long"
cd "$work/long"
printf "program Long;\r\nuses\r\n  Lines in 'Lines.pas';\r\nbegin\r\nend.\r\n" >Long.dpr
awk 'BEGIN { for (i = 1; i <= 100000; i++) printf "  FCount := FCount + %d;\r\n", i }' >Lines.pas
"${run[@]}" --sources all --pdf long.pdf Long.dpr 2>/dev/null &
job=$!
for ((tries = 0; tries < 1000; tries++)); do
    compgen -G "long.pdf.??????" >/dev/null && break
    sleep 0.01
done
check "the PDF is written beside its target first" test "$tries" -lt 1000
kill -TERM $job
wait $job
check "SIGTERM still ends the job" test $? -eq 143
check "and leaves no partial PDF" test -z "$(compgen -G "long.pdf*")"

[ $failed -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
