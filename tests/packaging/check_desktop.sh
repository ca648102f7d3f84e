#!/usr/bin/env bash
# Validates the desktop entry with desktop-file-validate and checks the keys the launcher
# relies on. Usage: check_desktop.sh DESKTOP_FILE
set -uo pipefail
checks_name="desktop entry"
. "$(dirname "$0")/checks.sh"

desktop=$1
id=$(basename "$desktop" .desktop)
need_tool desktop-file-validate desktop-file-utils
[ -f "$desktop" ] || abort "$desktop does not exist"
echo "checking $desktop"

# Hints and warnings count too: the file is ours, so it should be clean.
out=$(desktop-file-validate "$desktop" 2>&1)
rc=$?
[ -n "$out" ] && printf '%s\n' "$out"
check "desktop-file-validate exits 0 (exit $rc)" test "$rc" -eq 0
check "desktop-file-validate reports no errors, warnings or hints" test -z "$out"

expect_key() { # KEY VALUE
    local got
    got=$(desktop_key "$desktop" "$1")
    check "$1=$2 (found '$got')" test "$got" = "$2"
}
expect_key Type Application
expect_key Name Kestrelon
expect_key Exec "kestrelon %f"
expect_key Icon "$id"
expect_key Terminal false
check "GenericName is set" test -n "$(desktop_key "$desktop" GenericName)"
check "Comment is set" test -n "$(desktop_key "$desktop" Comment)"
check "Keywords mention the LM3914" grep -q '^Keywords=.*LM3914' "$desktop"
check "MimeType lists the design files' type" grep -q '^MimeType=.*application/x-kestrelon;' "$desktop"
check "Categories include Electronics" grep -Eq '^Categories=(.*;)?Electronics;' "$desktop"
finish
