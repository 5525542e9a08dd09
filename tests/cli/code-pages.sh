#!/usr/bin/env bash
# 8-bit text is shown in the user's ANSI code page: a cp1250 unit listed to
# PDF reads back as Hungarian under a Hungarian locale or PEMBRILL_CODEPAGE,
# and as Windows-1252 under an English one; a UTF-8 unit reads as UTF-8
# under every locale, a character its font lacks (the snowman) included.
#
#   code-pages.sh PEMBRILL_CLI
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/project" "$work/registry" "$work/tmp"
cd "$work/project"
printf "program Hu;\r\nuses\r\n  Ido in 'Ido.pas',\r\n  Utf in 'Utf.pas';\r\nbegin\r\nend.\r\n" >Hu.dpr
printf 'unit Ido;\r\n{ \xd6sszes id\xf5 }\r\nend.\r\n' >Ido.pas
printf 'unit Utf;\r\n{ K\xc3\xb6sz\xc3\xb6n\xc5\x91 \xe2\x98\x83 }\r\nend.\r\n' >Utf.pas

failed=0
check() { # description, locale settings, the line the cp1250 unit must give
    local description=$1 settings=$2 expected=$3
    env -u LC_ALL -u LC_CTYPE -u LANG -u PEMBRILL_CODEPAGE $settings TMPDIR="$work/tmp" \
        PEMBRILL_REGISTRY="$work/registry" XDG_RUNTIME_DIR="$work/tmp" \
        QT_QPA_PLATFORM=offscreen "$cli" --sources all --pdf "$work/out.pdf" Hu.dpr \
        >/dev/null 2>&1
    local text
    text=$(pdftotext "$work/out.pdf" - 2>/dev/null)
    if grep -qF "{ $expected }" <<<"$text" && grep -qF "{ Köszönő ☃ }" <<<"$text"; then
        echo "ok: $description"
    else
        echo "FAILED: $description"
        failed=1
    fi
    rm -f "$work/out.pdf"
}

check "a Hungarian locale reads cp1250" "LANG=hu_HU.UTF-8" "Összes idő"
check "LC_CTYPE comes before LANG" "LC_CTYPE=pl_PL.UTF-8 LANG=en_GB.UTF-8" "Összes idő"
check "PEMBRILL_CODEPAGE overrides the locale" "PEMBRILL_CODEPAGE=1250 LANG=en_US.UTF-8" \
    "Összes idő"
check "an English locale reads Windows-1252" "LANG=en_US.UTF-8" "Összes idõ"
check "no locale at all reads Windows-1252" "" "Összes idõ"

[ $failed -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $failed
