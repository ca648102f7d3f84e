#!/usr/bin/env bash
# Passes when the home and temporary folders the tests ran with hold nothing: a test removes
# whatever it makes.   Usage: tests/check_clean.sh HOME_DIR TMP_DIR...
set -uo pipefail
left=0
for dir; do
    if [ ! -d "$dir" ]; then
        echo "FAIL: $dir, given to the tests, is gone"
        left=1
        continue
    fi
    mapfile -t entries < <(cd "$dir" && find . -mindepth 1 -maxdepth 3 | sed 's|^\./||' | sort)
    if [ "${#entries[@]}" -gt 0 ]; then
        echo "FAIL: the tests left ${#entries[@]} entries in $dir:"
        printf '    %s\n' "${entries[@]:0:20}"
        left=1
    fi
done
[ "$left" -eq 0 ] && echo "the tests left nothing in $*"
exit "$left"
