#!/usr/bin/env bash
# Runs the AT-SPI client test against the real program: a private Xvfb server and a private
# session bus, on which the accessibility bus and registry start on demand.
#
#   run_atspi.sh PATH/TO/kestrelon
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PATH/TO/kestrelon" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
missing=()
for tool in Xvfb dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL missing: ${missing[*]} (Debian packages: xvfb dbus xdotool python3-pyatspi at-spi2-core)" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-atspi.XXXXXX")
xvfb_pid=""
cleanup() {
    local status=$?
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

: >"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL Xvfb did not start" >&2; exit 1; }

export DISPLAY=":$(head -n1 "$work/display")"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# A hang anywhere ends here, as a failure, not in the CI's own timeout.
dbus-run-session -- timeout -k 5 150 /usr/bin/python3 "$here/tst_atspi.py" "$1"
