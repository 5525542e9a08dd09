#!/usr/bin/env bash
# Settings saved by one run of pembrill-cli are the next run's defaults: in
# the sections' fonts and sizes and on the printed page.
#
#   settings-roundtrip.sh PEMBRILL_CLI
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/project" "$work/registry" "$work/tmp"
printf 'program P;\r\nbegin\r\nend.\r\n' >"$work/project/P.dpr"
cd "$work/project"

failed=0
check() { # description, command...
    local description=$1
    shift
    if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failed=1; fi
}
run() {
    TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp" PEMBRILL_REGISTRY="$work/registry" \
        QT_QPA_PLATFORM=offscreen "$cli" "$@" P.dpr
}
hive="$work/registry/HKEY_CURRENT_USER.reg"

run --set SourceCode=all --save-settings 2>"$work/err"
check "without the settings key Save creates it" \
    bash -c "! grep -q 'error saving' '$work/err' && grep -qix '.HKEY_CURRENT_USER.Software.Haldover.Pembrill..' '$hive'"
check "and never the Delphi key" test ! -e "$work/registry/HKEY_LOCAL_MACHINE.reg"
rm "$hive"
touch "$work/file"
TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp" PEMBRILL_REGISTRY="$work/file/registry" \
    QT_QPA_PLATFORM=offscreen "$cli" --set SourceCode=all --save-settings P.dpr 2>"$work/err"
check "a key that cannot be created is the save error" \
    grep -qx 'Error: There was an error saving your settings' "$work/err"

run --set SourceCode=all --set SourceCodeFont='Courier New' --set SourceCodeFontSize=14 \
    --set SourceCodeLineNumbers=0 --set Header=0 --set FooterLeft=None --set FooterRight=None \
    --set LeftMargin=2 --save-settings 2>"$work/err"
check "Save reports no error" bash -c "! grep -q 'error saving' '$work/err'"
check "Save writes all 32 values" test "$(grep -c '^"' "$hive")" -eq 32
check "Booleans are DWORDs" grep -qx '"SourceCodeLineNumbers"=dword:00000000.' "$hive"
check "texts are strings" grep -qx '"SourceCodeFontSize"="14".' "$hive"

run --text >"$work/text" 2>"$work/err"
check "the next run lists all sources in the saved font and size" \
    grep -qx "=== Source Code for: $work/project/P.dpr | P.dpr | Courier New | 14" "$work/text"
check "without line numbers" grep -qx 'program P;.' "$work/text"

run --pdf "$work/report.pdf" 2>"$work/err"
pdftotext -bbox "$work/report.pdf" "$work/bbox.html"
check "the header is off" bash -c "! grep -q 'Source Code for' '$work/bbox.html'"
check "the footer shows the file name only" \
    bash -c "grep -q '>P.dpr<' '$work/bbox.html' && ! grep -q '>Page<' '$work/bbox.html'"
# Two inches of margin: the text starts at least 144 points from the edge.
x=$(grep '>program<' "$work/bbox.html" | sed -E 's/.*xMin="([0-9.]+)".*/\1/')
check "the saved margin moves the text right" awk -v x="$x" 'BEGIN { exit !(x >= 144) }'

[ $failed -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
