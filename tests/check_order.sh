#!/usr/bin/env bash
# Runs every QtTest function of every suite alone, then each suite's functions in reverse order,
# each run in a fresh folder with a private settings folder:  tests/check_order.sh [BUILD_DIR]
set -uo pipefail
build=$(realpath "${1:-build}")
failed=0
# private_env DIR COMMAND...: COMMAND with its settings, runtime and temporary files in DIR.
private_env() {
    local dir=$1
    shift
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$dir" XDG_RUNTIME_DIR="$dir" TMPDIR="$dir" "$@"
}
run() { # DESCRIPTION BINARY ARGS...
    local what=$1 dir
    shift
    dir=$(mktemp -d)
    if ! (cd "$dir" && private_env "$dir" timeout 300 "$@" >"$dir/log" 2>&1); then
        echo "FAIL: $what"
        grep -E '^(FAIL|QFATAL)' "$dir/log" | head -5
        failed=1
    fi
    rm -rf "$dir"
}
while IFS= read -r suite; do
    listing=$(mktemp -d)
    mapfile -t functions < <(private_env "$listing" "$suite" -functions 2>/dev/null | sed 's/()$//')
    rm -rf "$listing"
    for f in "${functions[@]}"; do
        run "$(basename "$suite") $f alone" "$suite" "$f"
    done
    mapfile -t reversed < <(printf '%s\n' "${functions[@]}" | tac)
    run "$(basename "$suite") in reverse order" "$suite" "${reversed[@]}"
done < <(find "$build/tests" -type f -name 'tst_*' -perm -u+x | sort)
[ "$failed" -eq 0 ] && echo "every test function passes alone and in reverse order"
exit "$failed"
