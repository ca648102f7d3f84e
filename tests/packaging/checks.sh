# Shared by the packaging test scripts: each check prints one line, and the script's exit
# status says whether any failed. Sourced, not run.

checks_run=0
checks_failed=0

pass() { checks_run=$((checks_run + 1)); echo "ok    $*"; }
fail() { checks_run=$((checks_run + 1)); checks_failed=$((checks_failed + 1)); echo "FAIL  $*"; }
# check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
# abort MESSAGE: a failure that makes the remaining checks meaningless.
abort() { echo "FAIL  $*"; echo "$checks_name: stopped after $checks_run checks"; exit 1; }
# text_lacks ERE TEXT / file_lacks ERE FILE: true when no line matches.
text_lacks() { ! grep -Eq -- "$1" <<<"$2"; }
file_lacks() { ! grep -Eq -- "$1" "$2"; }
need_tool() { command -v "$1" >/dev/null || abort "$1 is not installed (package $2; ./dev installs it)"; }

finish() {
    if [ "$checks_failed" -ne 0 ]; then
        echo "$checks_name: $checks_failed of $checks_run checks FAILED"
        exit 1
    fi
    echo "$checks_name: all $checks_run checks passed"
    exit 0
}

# png_size FILE: "WIDTH x HEIGHT" as file(1) reports it for a PNG, nothing for any other file.
png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]* x [0-9]*\),.*/\1/p'; }

# desktop_key FILE KEY: the value of KEY in the [Desktop Entry] group.
desktop_key() {
    awk -v key="$2" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$1"
}

# What an installation must contain; written out here rather than taken from the build so
# that a dropped install rule or icon size shows up.
app_id=io.github.kestrelon.Kestrelon
icon_sizes=(16 22 24 32 48 64 128 256)

# build_id FILE: the GNU build ID of an ELF file; installing and stripping keep it.
build_id() { file -b "$1" | sed -n 's/.*BuildID\[[a-z0-9]*\]=\([0-9a-f]*\).*/\1/p'; }

# check_manual_page PAGE VERSION: an installed, compressed kestrelon(1).
check_manual_page() {
    local page=$1 version=$2 out
    check "share/man/man1/kestrelon.1.gz is compressed with gzip" \
        bash -c 'file -b "$1" | grep -q "^gzip compressed"' _ "$page"
    # --warnings turns on groff's warnings; anything on stderr is one.
    out=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -n "$out" ] && printf '%s\n' "$out"
    check "man --warnings -l renders kestrelon(1) without warnings" test -z "$out"
    # whatis and apropos read the NAME section through lexgrog.
    check "its NAME section reads 'kestrelon - ...' (found '$(lexgrog "$page" 2>&1)')" \
        bash -c 'lexgrog "$1" | grep -q ": \"kestrelon - ."' _ "$page"
    check "its footer names version $version" \
        bash -c 'MANWIDTH=80 man -l "$1" 2>/dev/null | tail -n 1 | grep -q "Kestrelon $2 "' _ "$page" "$version"
}

# license_body FILE: the MIT licence's text from "Permission" on, blank lines dropped, one
# word per line, so that the LICENSE file and a copyright file's indented copy compare equal.
license_body() {
    sed -n '/Permission is hereby granted/,/SOFTWARE\.$/p' "$1" | sed 's/^ \.\?//' | tr -s ' \n' '\n\n'
}

# check_doc_files DOC SOURCE_DIR: the copyright file and the changelog Debian requires.
check_doc_files() {
    local doc=$1 src=$2
    check "share/doc/kestrelon/copyright is machine-readable (DEP-5)" \
        grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$doc/copyright"
    check "it licenses the program under MIT" grep -Pzq '\nFiles: \*\n(.+\n)*License: MIT\n' "$doc/copyright"
    check "it licenses the metadata under CC0-1.0" \
        grep -Pzq '\nFiles: [^\n]*metainfo[^\n]*\n(.+\n)*License: CC0-1.0\n' "$doc/copyright"
    check "its MIT text is the LICENSE file's" \
        bash -c '[ -n "$1" ] && [ "$1" = "$2" ]' _ "$(license_body "$src/LICENSE")" "$(license_body "$doc/copyright")"
    check "share/doc/kestrelon/changelog.Debian.gz is compressed with gzip" \
        bash -c 'file -b "$1" | grep -q "^gzip compressed"' _ "$doc/changelog.Debian.gz"
}

# check_installed_tree USR SOURCE_DIR VERSION BUILT_PROGRAM: the program, launcher entry,
# metainfo, icons, manual page and Debian's doc files under USR (an unpacked or DESTDIR'd /usr).
check_installed_tree() {
    local usr=$1 src=$2 version=$3 built=$4 size png desktop metainfo svg id exec
    check "bin/kestrelon is an executable ELF file" \
        bash -c '[ -x "$1" ] && file -b "$1" | grep -q "^ELF .* executable"' _ "$usr/bin/kestrelon"
    id=$(build_id "$built")
    check "bin/kestrelon is the program just built (build ID ${id:-missing})" \
        test -n "$id" -a "$(build_id "$usr/bin/kestrelon")" = "$id"

    desktop=$usr/share/applications/$app_id.desktop
    check "share/applications/$app_id.desktop is the packaging/ one, Exec aside" \
        cmp -s <(grep -v '^Exec=' "$desktop") <(grep -v '^Exec=' "$src/packaging/$app_id.desktop")
    exec=$(desktop_key "$desktop" Exec)
    [[ $exec == /* ]] || exec=$usr/bin/$exec
    check "its Exec names the installed program" test -x "$exec" -a "$exec" -ef "$usr/bin/kestrelon"

    metainfo=$usr/share/metainfo/$app_id.metainfo.xml
    check "share/metainfo/$app_id.metainfo.xml lists release $version" grep -q "<release version=\"$version\"" "$metainfo"

    for size in "${icon_sizes[@]}"; do
        png=$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
        check "icons/hicolor/${size}x${size}/apps/$app_id.png is a $size x $size PNG" \
            test "$(png_size "$png" 2>/dev/null)" = "$size x $size"
    done
    svg=$usr/share/icons/hicolor/scalable/apps/$app_id.svg
    check "icons/hicolor/scalable/apps/$app_id.svg is packaging/icons/kestrelon.svg" \
        cmp -s "$svg" "$src/packaging/icons/kestrelon.svg"

    check_manual_page "$usr/share/man/man1/kestrelon.1.gz" "$version"
    check_doc_files "$usr/share/doc/kestrelon" "$src"
}
