#!/usr/bin/env bash
# The window's position through Exit&Save and a new start, on a private Xvfb server under a real
# window manager (or none): ten rounds end where they began, frame included, and a stored
# position whose title bar no screen shows comes back within reach.
#
#   run_wm_position.sh PATH/TO/kestrelon none|openbox|icewm
set -euo pipefail

readonly TITLE='Kestrelon V3.0'
readonly SCREEN_W=1280 SCREEN_H=1024
readonly ROUNDS=10
[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/kestrelon none|openbox|icewm" >&2; exit 2; }
app=$1 wm=$2

fail() { echo "FAIL [$wm] $*" >&2; exit 1; }
for tool in Xvfb xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || fail "missing tool $tool (Debian: xvfb xdotool x11-utils)"
done
[ "$wm" = none ] || command -v "$wm" >/dev/null || fail "missing window manager $wm (Debian: $wm)"

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-wm.XXXXXX")
pids=()
cleanup() {
    local status=$? pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ "$status" -eq 0 ] || tail -n 5 "$work"/*.log >&2 2>/dev/null || true
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

# -noreset: with no window manager the server would reset between two starts of the program,
# and a start that connects during the reset fails.
Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset 3>"$work/display" \
    </dev/null >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
[ "$DISPLAY" != ":" ] && kill -0 "${pids[0]}" 2>/dev/null || fail "Xvfb did not start"
unset XAUTHORITY
if [ "$wm" != none ]; then
    HOME="$work" "$wm" </dev/null >"$work/wm.log" 2>&1 &
    pids+=($!)
    # A window manager announces itself on the root window once it manages the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "$wm did not start"
fi

mkdir -p "$work/config/Kestrelon" "$work/home" "$work/runtime"
# Qt's runtime folder goes with the test's own, not into the temporary folder.
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
store="$work/config/Kestrelon/Kestrelon.conf"
stored() { sed -n "s/^$1=//p" "$store"; }

app_pid=""
start() {
    QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" HOME="$work/home" "$app" \
        </dev/null >>"$work/app.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    win=""
    for _ in $(seq 150); do
        win=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n1 || true)
        [ -n "$win" ] && break
        sleep 0.1
    done
    [ -n "$win" ] || fail "no window \"$TITLE\" within 15 s"
}

# The frame's outer corner in pixels: the client's corner less the frame the manager reports.
outer() {
    local x y extents left=0 top=0
    x=$(xwininfo -id "$win" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$win" | sed -n 's/.*Absolute upper-left Y: *//p')
    extents=$(xprop -id "$win" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
    [ -z "$extents" ] || IFS=, read -r left _ top _ <<<"$extents"
    echo "$((x - left)) $((y - top))"
}

# Where the window rests once the manager has framed and the program has placed it.
settled() {
    local before="" now
    for _ in $(seq 40); do
        sleep 0.25
        now=$(outer)
        [ "$now" = "$before" ] && { echo "$now"; return; }
        before=$now
    done
    fail "the window did not come to rest: $now"
}

exit_and_save() { # Exit&Save is the menu bar's first command
    xdotool mousemove --window "$win" 15 8 click 1
    for _ in $(seq 150); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null && fail "the program still runs 15 s after Exit&Save"
    wait "$app_pid" || fail "Exit&Save ended the program with a failure"
}

near() { [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]; } # within a pixel

# 1. Ten rounds from a stored position.
printf '[Properties]\nfrmTop=1500\nfrmLeft=3000\n' >"$store"
for round in $(seq "$ROUNDS"); do
    start
    read -r x y < <(settled)
    near "$x" 200 && near "$y" 100 || fail "round $round: the frame is at ($x, $y), not (200, 100)"
    exit_and_save
done
top=$(stored frmTop) left=$(stored frmLeft)
near $((top / 15)) 100 && near $((left / 15)) 200 ||
    fail "after $ROUNDS rounds frmTop=$top frmLeft=$left, not 1500 and 3000"
echo "ok [$wm] $ROUNDS rounds: frame at ($x, $y), stored frmLeft=$left frmTop=$top (drift $((left / 15 - 200)), $((top / 15 - 100)) px)"

# 2. Out of reach: above the screen, and on a screen that is gone. The file keeps what was stored.
for case in "-9000 3000" "1500 60000"; do
    read -r top left <<<"$case"
    printf '[Properties]\nfrmTop=%s\nfrmLeft=%s\n' "$top" "$left" >"$store"
    start
    read -r x y < <(settled)
    width=$(xwininfo -id "$win" | sed -n 's/.*Width: *//p')
    [ "$y" -ge 0 ] && [ "$x" -ge 0 ] && [ $((x + width)) -le "$SCREEN_W" ] ||
        fail "stored ($left, $top) twips: the frame is at ($x, $y), out of reach"
    [ "$(stored frmTop)" = "$top" ] || fail "the stored position changed before a save"
    exit_and_save
    near $(($(stored frmTop) / 15)) "$y" && near $(($(stored frmLeft) / 15)) "$x" ||
        fail "Exit&Save stored $(stored frmLeft), $(stored frmTop) for a frame at ($x, $y)"
    echo "ok [$wm] stored ($left, $top) twips comes back at ($x, $y) pixels"
done
