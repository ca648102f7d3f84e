#!/usr/bin/env bash
# Runs ./dev against stand-ins for apt-get, dpkg, the locale tools, CMake, CTest and the program,
# and checks what it asks of them and what it prints.   Usage: check_dev.sh SOURCE_DIR
set -uo pipefail
checks_name="dev script"
. "$(dirname "$0")/../packaging/checks.sh"

src=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-dev.XXXXXX") || abort "mktemp failed"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/tree/tests" "$tmp/bin"
cp "$src/dev" "$tmp/tree/"
cp "$src/tests/check_clean.sh" "$tmp/tree/tests/"
log=$tmp/calls.log
stub() { # NAME BODY: a command on PATH that logs its arguments, then runs BODY
    printf '#!/bin/bash\necho "%s $*" >>"%s"\n%s\n' "$1" "$log" "$2" >"$tmp/bin/$1"
    chmod +x "$tmp/bin/$1"
}
stub id 'echo 0'
stub dpkg-query 'exit 1'
stub locale 'echo C.UTF-8'
stub localedef ''
stub apt-get 'seq 300 | sed "s/^/Unpacking /"; [ -z "${APT_FAILS:-}" ]'
stub cmake 'while [ $# -gt 0 ]; do [ "$1" = -B ] && mkdir -p "$2/bin"; shift; done
            printf "#!/bin/sh\necho started\n" >build/kestrelon; chmod +x build/kestrelon'
# CTest: FAILED_IN names the build folder whose run has one failure; LEAVE makes a test leave a file.
stub ctest 'dir=$2; [ -n "${LEAVE:-}" ] && touch "$TMPDIR/$LEAVE"
            if [ "$dir" = "${FAILED_IN:-}" ]; then echo "96% tests passed, 1 tests failed out of 24"; exit 8; fi
            echo "100% tests passed, 0 tests failed out of 24"'

dev() { # MODE [VAR=VALUE...]: ./dev's output in $out, its status in $rc
    local mode=$1
    shift
    : >"$log"
    out=$(cd "$tmp/tree" && env PATH="$tmp/bin:$PATH" "$@" ./dev "$mode" 2>&1)
    rc=$?
}
has() { grep -q -- "$1" <<<"$out"; }
called() { grep -q -- "$1" "$log"; }
ci_line='^([A-Za-z]+: )?[0-9]+ passed, [0-9]+ failed$'

dev run
mapfile -t installed < <(sed -n 's/^apt-get install .* --no-install-recommends //p' "$log" | tr ' ' '\n')
check "./dev run starts the program it built (exit $rc)" test "$rc" -eq 0 -a "$(tail -n1 <<<"$out")" = started
check "./dev run installs exactly ./dev packages run" \
    test "${installed[*]}" = "$(cd "$tmp/tree" && ./dev packages run | tr '\n' ' ' | sed 's/ $//')"
check "./dev run builds only the program" bash -c '[ "$(grep -c -- "--build" "$1")" = 1 ] && grep -q -- "--build build --target kestrelon " "$1"' _ "$log"
check "./dev run leaves the system's locales alone" bash -c '! grep -q ^localedef "$1"' _ "$log"
check "apt-get's output is not shown when it succeeds" text_lacks Unpacking "$out"

dev test
check "./dev test installs the test packages as well" \
    called "apt-get install .* $(cd "$tmp/tree" && ./dev packages test | tail -n1)"
check "./dev test adds the locale its tests need" called '^localedef -i de_DE -f UTF-8 de_DE.UTF-8'
check "./dev test passes when both runs pass (exit $rc)" test "$rc" -eq 0
check "its last line is the total, as CI reads it ('$(tail -n1 <<<"$out")')" \
    bash -c '[[ $1 =~ $2 ]] && [ "$1" = "total: 49 passed, 0 failed" ]' _ "$(tail -n1 <<<"$out")" "$ci_line"
check "the line before gives both runs' counts" \
    has '^kestrelon: 24 passed, 0 failed (plain); 24 passed, 0 failed (ASan/UBSan); 1 passed'
check "it prints at most 30 lines when all is well ($(wc -l <<<"$out"))" test "$(wc -l <<<"$out")" -le 30

dev test FAILED_IN=build-asan
check "a failure in the sanitizer run fails ./dev test (exit $rc)" test "$rc" -ne 0
check "and is counted in the total" test "$(tail -n1 <<<"$out")" = "total: 48 passed, 1 failed"
check "the plain run's count is still given" has '24 passed, 0 failed (plain); 23 passed, 1 failed (ASan/UBSan)'

dev test LEAVE=stray-file
check "a file a test leaves in its temporary folder fails ./dev test (exit $rc)" test "$rc" -ne 0
check "and is named" has '^    stray-file$'

dev test APT_FAILS=1
check "a failing apt-get stops ./dev test (exit $rc)" test "$rc" -ne 0
check "and its output is shown" has '^Unpacking 300$'
check "before anything is built" bash -c '! grep -q ^cmake "$1"' _ "$log"
finish
