#!/usr/bin/env bash
# Form pictures against the rest of the work, timed through pembrill-cli:
# a generated project of 83 forms of about 40 controls each (panels,
# labels, edits, buttons, a grid, a page control with two sheets, a memo,
# components), analysed, then (a) its pictures written as PNG and SVG, and
# (b) the report of every object with its properties to PDF, with and
# without Form Pictures. Each run is the best of five.
#
#   bench/picture-bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/project" "$work/registry" "$work/delphi/bin"
printf '#!/bin/sh\nexec "%s" "$@"\n' "$build/dfmconvert" >"$work/delphi/bin/convert.exe"
chmod +x "$work/delphi/bin/convert.exe"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]\r\n"Rootdir"="%s"\r\n' \
    "$work/delphi" >"$work/registry/HKEY_LOCAL_MACHINE.reg"

form() {
    local n=$1
    printf 'object Form%d: TForm%d\r\n  Width = 640\r\n  Height = 480\r\n  Caption = %s\r\n' \
        "$n" "$n" "'Form $n'"
    printf '  object Panel1: TPanel\r\n    Align = alTop\r\n    Height = 41\r\n'
    for b in 1 2 3 4; do
        printf '    object Button%d: TButton\r\n      Left = %d\r\n      Top = 8\r\n' "$b" $((b * 80))
        printf '      Width = 75\r\n      Height = 25\r\n      Caption = %s\r\n    end\r\n' "'Button $b'"
    done
    printf '  end\r\n  object PageControl1: TPageControl\r\n    Left = 8\r\n    Top = 48\r\n'
    printf '    Width = 400\r\n    Height = 300\r\n    ActivePage = TabSheet1\r\n'
    for s in 1 2; do
        printf '    object TabSheet%d: TTabSheet\r\n      Caption = %s\r\n' "$s" "'Sheet $s'"
        for f in 1 2 3 4 5 6 7 8; do
            printf '      object Label%d_%d: TLabel\r\n        Left = 8\r\n        Top = %d\r\n' \
                "$s" "$f" $((f * 28))
            printf '        Caption = %s\r\n      end\r\n' "'Field $f'"
            printf '      object Edit%d_%d: TEdit\r\n        Left = 80\r\n        Top = %d\r\n' \
                "$s" "$f" $((f * 28 - 4))
            printf '        Width = 200\r\n        Height = 21\r\n        Text = %s\r\n      end\r\n' \
                "'Value $f'"
        done
        printf '    end\r\n'
    done
    printf '  end\r\n  object StringGrid1: TStringGrid\r\n    Left = 416\r\n    Top = 48\r\n'
    printf '    Width = 200\r\n    Height = 150\r\n  end\r\n'
    printf '  object Memo1: TMemo\r\n    Left = 416\r\n    Top = 210\r\n    Width = 200\r\n'
    printf '    Height = 100\r\n    Lines.Strings = (\r\n      %s\r\n      %s)\r\n  end\r\n' \
        "'First line'" "'Second line'"
    printf '  object Table1: TTable\r\n    Left = 16\r\n    Top = 400\r\n  end\r\n'
    printf '  object DataSource1: TDataSource\r\n    Left = 56\r\n    Top = 400\r\n  end\r\nend\r\n'
}

{
    printf 'program Big;\r\n\r\nuses\r\n  Forms'
    for n in $(seq 1 83); do printf ",\r\n  Unit%d in 'Unit%d.pas' {Form%d}" "$n" "$n" "$n"; done
    printf ';\r\n\r\nbegin\r\n  Application.CreateForm(TForm1, Form1);\r\n  Application.Run;\r\nend.\r\n'
} >"$work/project/Big.dpr"
for n in $(seq 1 83); do
    printf 'unit Unit%d;\r\n\r\ninterface\r\n\r\nuses Forms;\r\n\r\nimplementation\r\n\r\n{$R *.DFM}\r\n\r\nend.\r\n' \
        "$n" >"$work/project/Unit$n.pas"
    form "$n" >"$work/project/Unit$n.dfm"
done

best() {
    local best=999999
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        (cd "$work/project" && PEMBRILL_REGISTRY="$work/registry" QT_QPA_PLATFORM=offscreen \
            "$build/pembrill-cli" "$@" Big.dpr >/dev/null 2>&1)
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        [ "$ms" -lt "$best" ] && best=$ms
    done
    echo "$best"
}

analyze=$(best --analyze)
pictures=$(best --analyze --picture-dir "$work/pictures")
echo "forms: $(ls "$work/pictures"/*.png | wc -l)"
echo "analyze alone:              ${analyze} ms"
echo "analyze and 83 pictures:    ${pictures} ms (pictures $((pictures - analyze)) ms)"
plain=$(best --analyze --objects all --properties --pdf "$work/plain.pdf")
with=$(best --analyze --objects all --properties --pictures --pdf "$work/with.pdf")
echo "report without pictures:    ${plain} ms, $(pdfinfo "$work/plain.pdf" | awk '/^Pages/ {print $2}') pages"
echo "report with pictures:       ${with} ms, $(pdfinfo "$work/with.pdf" | awk '/^Pages/ {print $2}') pages"
