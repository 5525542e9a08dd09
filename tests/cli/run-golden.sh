#!/usr/bin/env bash
# Runs pembrill-cli on every case folder under CASES and compares stdout,
# stderr and the exit status with the case's expected files.
#
#   run-golden.sh PEMBRILL_CLI DFMCONVERT CASES [--update]
#
# A case folder holds:
#   project/      the files, copied to a fresh directory the CLI runs in
#   project-from  optional: the name of a project under cli-projects/ beside
#                 CASES that several cases share, copied there first
#   leave-out     optional: files of that shared project the case goes without
#   args          the command line, one argument per line
#   convert.exe   optional: the form converter (default: dfmconvert); it
#                 finds dfmconvert in $DFMCONVERT
#   converter-path optional: where under the Delphi directory the converter
#                 goes (default: bin/convert.exe)
#   no-converter  optional: no Delphi installation is registered
#   registry/     optional: hive files put in the registry directory first
#   locale        optional: the locale the CLI runs in (LC_ALL; default: C.UTF-8),
#                 which scripts/install-deps generates
#   every-object-line-an-item optional: the tree printed holds one item per
#                 object, inherited and inline line of the project's forms
#   expected.out, expected.err, expected.status
# In the outputs the fresh directory's path reads as $DIR. With --update the
# expected files are written from what the CLI gives (review them!).
#
# Given pembrill-cli.exe and dfmconvert.exe, the cases run under Wine
# (WINEPREFIX and WINEPATH as the caller sets them): the hive files serve as
# the registry there too, dfmconvert.exe is the converter, the Windows form
# of the fresh directory's path reads as $DIR as well, and the print files
# are looked for in Wine's temporary folder. The cases whose converter is a
# shell script are left out there.
set -u
cli=$(realpath "$1") dfmconvert=$(realpath "$2") cases=$3 update=${4:-}
shared="$(dirname "$cases")/cli-projects"
failed=0 count=0 skipped=0
windows=""
[[ $cli == *.exe ]] && windows=1
# Wine's own notes on its stderr are not the program's.
wine_notes='^wine: \|^[0-9a-f]*:err:\|^[0-9a-f]*:fixme:'
# A folder of the Linux side as Wine's Z: drive names it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
[ -n "$windows" ] &&
    wine_tmp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)

for case in "$cases"/*/; do
    name=$(basename "$case")
    if [ -n "$windows" ] && [ -f "$case/convert.exe" ]; then
        skipped=$((skipped + 1))
        continue
    fi
    count=$((count + 1))
    work=$(mktemp -d)
    dir="$work/run"
    mkdir -p "$dir"
    [ -f "$case/project-from" ] && cp -r "$shared/$(cat "$case/project-from")/." "$dir/"
    [ -f "$case/leave-out" ] && (cd "$dir" && xargs -d '\n' rm -- <"$case/leave-out")
    [ -d "$case/project" ] && cp -r "$case/project/." "$dir/"
    registry="$work/registry"
    root="$work/delphi2"
    converter="$root/bin/convert.exe"
    [ -f "$case/converter-path" ] && converter="$root/$(cat "$case/converter-path")"
    mkdir -p "$registry" "$(dirname "$converter")" "$work/tmp"
    [ -d "$case/registry" ] && cp "$case/registry/"* "$registry/"
    rootdir=$root registrydir=$registry tmp=$work/tmp run=("$cli")
    if [ -n "$windows" ]; then
        cp "$dfmconvert" "$converter"
        rootdir=$(windows_path "$root") registrydir=$(windows_path "$registry")
        tmp=$wine_tmp
        run=(wine "$cli")
    elif [ -f "$case/convert.exe" ]; then
        cp "$case/convert.exe" "$converter"
    else
        printf '#!/bin/sh\nexec "%s" "$@"\n' "$dfmconvert" >"$converter"
    fi
    chmod +x "$converter"
    # A backslash of a Windows path is doubled in the hive file.
    [ -f "$case/no-converter" ] ||
        printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Borland\\Delphi\\2.0]\r\n"Rootdir"="%s"\r\n' \
            "${rootdir//\\/\\\\}" >"$registry/HKEY_LOCAL_MACHINE.reg"
    mapfile -t args <"$case/args"
    locale=C.UTF-8
    [ -f "$case/locale" ] && locale=$(cat "$case/locale")
    (cd "$dir" && TMPDIR="$tmp" PEMBRILL_REGISTRY="$registrydir" QT_QPA_PLATFORM=offscreen \
        DFMCONVERT="$dfmconvert" LC_ALL="$locale" \
        "${run[@]}" "${args[@]}" >"$work/out" 2>"$work/err" </dev/null)
    echo $? >"$work/status"
    for stream in out err; do
        sed -i "s|$dir|\$DIR|g" "$work/$stream"
    done
    if [ -n "$windows" ]; then
        windows_dir=$(windows_path "$dir")
        sed -i "/$wine_notes/d" "$work/err"
        # The C runtime's text mode wrote each LF as CR LF: this undoes it
        # exactly, a CR of the program's own kept.
        sed -i 's/\r$//' "$work/out" "$work/err"
        # The folder as the program writes it and as a message shows it (its
        # backslashes doubled), and the separator after it, read as on POSIX.
        pattern=${windows_dir//\\/\\\\}
        for stream in out err; do
            sed -i -e "s|${pattern//\\/\\\\}|\$DIR|g" -e "s|$pattern|\$DIR|g" \
                -e 's|\$DIR\\\\\?|$DIR/|g' "$work/$stream"
        done
    fi
    object_lines=0 items=0
    if [ -f "$case/every-object-line-an-item" ]; then
        object_lines=$(cat "$case"/project/*.dfm | grep -cE '^[[:space:]]*(object|inherited|inline) ')
        items=$(grep -cE '^[0-9]+ [0-9]+ ' "$work/out")
    fi
    # No job leaves a print file or a partial PDF file behind.
    if compgen -G "$tmp/pbx*" >/dev/null; then
        echo "FAILED: $name (print files left: $(cd "$tmp" && ls -- pbx*))"
        failed=$((failed + 1))
    elif compgen -G "$dir/*.pdf.??????" >/dev/null; then
        echo "FAILED: $name (partial PDF files left: $(cd "$dir" && ls -- *.pdf.??????))"
        failed=$((failed + 1))
    elif ! locale -a | grep -qx "${locale/UTF-8/utf8}"; then
        echo "FAILED: $name (the locale $locale is missing: run scripts/install-deps)"
        failed=$((failed + 1))
    elif [ "$object_lines" -ne "$items" ]; then
        echo "FAILED: $name ($object_lines object lines, $items tree items)"
        failed=$((failed + 1))
    elif [ "$update" = --update ]; then
        for stream in out err status; do cp "$work/$stream" "$case/expected.$stream"; done
    else
        for stream in out err status; do
            if ! cmp -s "$work/$stream" "$case/expected.$stream"; then
                echo "FAILED: $name ($stream differs)"
                diff "$case/expected.$stream" "$work/$stream" | head -20
                failed=$((failed + 1))
                break
            fi
        done
    fi
    rm -rf "$work"
done

echo "$((count - failed)) passed, $failed failed${windows:+, $skipped left out under Wine}"
[ "$failed" -eq 0 ]
