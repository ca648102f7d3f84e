#!/usr/bin/env bash
# End-to-end run of the real program on a private Xvfb server: start-up, a screenshot,
# Help and About through the menu bar, then Exit&Save and the settings store it writes.
#
#   run_e2e.sh PATH/TO/kestrelon OUTPUT_DIR
#
# OUTPUT_DIR receives the screenshots, and the program's and Xvfb's logs on a failure.
set -euo pipefail

readonly MAIN_TITLE='Kestrelon V3.0'
readonly HELP_TITLE='Form2'
readonly ABOUT_TITLE='About Kestrelon'
readonly APP_CLASS='kestrelon'
readonly SCREEN_W=1280 SCREEN_H=1024
readonly KEYS=(frmTop frmLeft Vin0 RLo RHi Vsup VsLED0 hsR1val0 vsR2val0 vsVin vsRHi vsRLo
               optMode0 optMode1 optRHi0 optRHi1 optRLo0 optRLo1
               optLED00 optLED01 optLED02 optLED03 optLED04
               Vin1 RLo1 RHi1 Vsup1 VsLED1 hsR1val1 vsR2val1 vsVin1 vsRHi1 vsRLo1
               optMode20 optMode21 optRHi10 optRHi11 optRLo10 optRLo11
               optLED10 optLED11 optLED12 optLED13 optLED14)

if [ $# -ne 2 ]; then
    echo "usage: $0 PATH/TO/kestrelon OUTPUT_DIR" >&2
    exit 2
fi
app=$1
out=$2

checks=0
ok() { checks=$((checks + 1)); echo "ok   $*"; }
fail() { echo "FAIL $*" >&2; exit 1; }

missing=()
for tool in Xvfb xdotool xwininfo xlogo xwd xwdtopnm pnmtopng pngtopnm pamcut ppmtopgm pamtopnm \
            pamfile ppmhist; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ ${#missing[@]} -eq 0 ] ||
    fail "missing tools: ${missing[*]} (Debian packages: xvfb xdotool x11-utils x11-apps netpbm)"
[ -x "$app" ] || fail "no program at $app"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-e2e.XXXXXX")
xvfb_pid="" app_pid="" watchdog_pid="" bystander_pid=""

cleanup() {
    local status=$?
    set +e
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    if [ -n "$bystander_pid" ]; then
        kill "$bystander_pid" 2>/dev/null
        wait "$bystander_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    if [ -n "$watchdog_pid" ]; then
        kill "$watchdog_pid" 2>/dev/null
        wait "$watchdog_pid" 2>/dev/null
    fi
    if [ "$status" -ne 0 ]; then
        for log in app.log xvfb.log; do
            [ -s "$work/$log" ] && cp "$work/$log" "$out/$log"
        done
        echo "logs and screenshots: $out" >&2
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# 1. A private X server; -displayfd lets the server itself pick a free display number.
: >"$work/display"
Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset \
    3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!

echo "$xvfb_pid" >"$work/pids"

# A timeout in the test runner kills this script with SIGKILL, which no trap sees: this orphan
# then ends the X server and the program, and removes the temporary folder.
(
    trap '' HUP
    while kill -0 $$ 2>/dev/null; do sleep 1; done
    xargs -r kill <"$work/pids" 2>/dev/null
    sleep 1
    rm -rf "$work"
) </dev/null >/dev/null 2>&1 &
watchdog_pid=$!

display=""
for _ in $(seq 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended at start-up: $(tail -3 "$work/xvfb.log")"
    # The number is complete once its line has ended.
    if [ "$(wc -l <"$work/display")" -gt 0 ]; then
        display=$(head -n1 "$work/display")
        break
    fi
    sleep 0.1
done
[[ "$display" =~ ^[0-9]+$ ]] || fail "Xvfb gave no display number within 10 s"
export DISPLAY=":$display"
unset XAUTHORITY
ok "Xvfb runs on $DISPLAY (${SCREEN_W}x${SCREEN_H}x24)"

# Another X client's window, as a desktop's helpers leave them (D-Bus's autolaunch does): the
# program's own windows are told from it by their class.
xlogo -geometry 48x48+$((SCREEN_W - 60))+$((SCREEN_H - 60)) </dev/null >"$work/bystander.log" 2>&1 &
bystander_pid=$!
echo "$bystander_pid" >>"$work/pids"

# 2. The program, with an empty settings folder and private home and runtime folders.
mkdir -m 700 "$work/config" "$work/home" "$work/runtime"
store="$work/config/Kestrelon/Kestrelon.conf"
(
    # Outside settings that would change the window's size, style or look.
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING \
          QT_FONT_DPI QT_STYLE_OVERRIDE QT_QPA_PLATFORMTHEME DBUS_SESSION_BUS_ADDRESS \
          XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME SESSION_MANAGER
    export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" HOME="$work/home" \
           XDG_RUNTIME_DIR="$work/runtime"
    exec "$app"
) </dev/null >"$work/app.log" 2>&1 &
app_pid=$!
echo "$app_pid" >>"$work/pids"

# 3. The main window.
app_alive() { kill -0 "$app_pid" 2>/dev/null; }
find_window() { # TITLE: ids of the program's visible windows with exactly that title
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}
wait_window() { # TITLE SECONDS: prints the window id
    local id deadline=$((SECONDS + $2))
    while [ "$SECONDS" -lt "$deadline" ]; do
        app_alive || fail "the program ended while waiting for \"$1\": $(tail -3 "$work/app.log")"
        id=$(find_window "$1" | head -n1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window titled \"$1\" within $2 s"
}
main_win=$(wait_window "$MAIN_TITLE" 20)
ok "main window \"$MAIN_TITLE\" is shown"
# Every window the program makes carries its class, mapped or not.
own_windows() { xdotool search --class "^$APP_CLASS\$" 2>/dev/null || true; }
grep -qx "$main_win" < <(own_windows) || fail "the main window's class is not \"$APP_CLASS\""

geometry() { # WINDOW: prints "x y width height"
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^  Width:/ { w = $NF } /^  Height:/ { h = $NF }
        END { print x, y, w, h }'
}
read -r win_x win_y win_w win_h < <(geometry "$main_win")
[ "$win_x" -eq 0 ] && [ "$win_y" -eq 0 ] ||
    fail "first start with an empty store: window at ($win_x,$win_y), expected (0,0)"
ok "first start places the window at the screen's top-left corner (0,0), size ${win_w}x${win_h}"

shoot() { # WINDOW|root PNG
    local target=(-id "$1")
    [ "$1" = root ] && target=(-root)
    xwd -silent "${target[@]}" | xwdtopnm 2>/dev/null | pnmtopng >"$2" 2>/dev/null ||
        fail "could not take a screenshot of $1"
}

# The menu bar is the first line of text at the top of the window. Dark columns in that line
# form one cluster per command; letters within a command are at most a few pixels apart.
# Prints "x y" of each command's centre, relative to the window.
menu_items() { # PNG
    pngtopnm "$1" | pamcut -top 0 -height 60 | ppmtopgm | pamtopnm -plain | awk '
        { for (i = 1; i <= NF; i++) tok[n++] = $i }
        END {
            w = tok[1]; h = tok[2]; max = tok[3]
            top = -1; bottom = -1
            for (y = 0; y < h; y++) {
                dark = 0
                for (x = 0; x < w; x++)
                    if (tok[4 + y * w + x] < max * 0.45) { dark = 1; col[x] = 1 }
                if (dark && top < 0) top = y
                if (!dark && top >= 0) { bottom = y - 1; break }
            }
            if (top < 0 || bottom < 0) exit
            start = -1; gap = 0
            for (x = 0; x <= w; x++) {
                if (x < w && col[x]) {
                    if (start < 0) start = x
                    last = x; gap = 0
                } else if (start >= 0 && (++gap >= 6 || x == w)) {
                    print int((start + last) / 2), int((top + bottom) / 2)
                    start = -1
                }
            }
        }'
}

# 4. Screenshot, once the window has painted its menu bar (mapping comes before painting).
shot="$out/main-window.png"
items=()
for _ in $(seq 50); do
    shoot "$main_win" "$shot"
    mapfile -t items < <(menu_items "$shot")
    [ ${#items[@]} -eq 3 ] && break
    sleep 0.2
done
[ ${#items[@]} -eq 3 ] ||
    fail "expected 3 commands in the menu bar, found ${#items[@]} text clusters: ${items[*]:-none}"
read -r shot_w shot_h < <(pngtopnm "$shot" | pamfile -size)
shot_bytes=$(stat -c %s "$shot")
shot_colours=$(pngtopnm "$shot" | ppmhist -noheader | wc -l)
[ "$shot_w" -eq "$win_w" ] && [ "$shot_h" -eq "$win_h" ] ||
    fail "screenshot is ${shot_w}x${shot_h}, window is ${win_w}x${win_h}"
[ "$shot_bytes" -gt 20000 ] || fail "screenshot is only $shot_bytes bytes: nearly blank?"
[ "$shot_colours" -ge 16 ] || fail "screenshot has only $shot_colours colours: nearly blank?"
ok "screenshot $shot: ${shot_w}x${shot_h}, $shot_bytes bytes, $shot_colours colours"
ok "menu bar has 3 commands at $(printf '(%s) ' "${items[@]/ /,}")"
read -r exit_x exit_y <<<"${items[0]}"
read -r about_x about_y <<<"${items[1]}"
read -r help_x help_y <<<"${items[2]}"

# The help window opens over the main window's menu bar (there is no window manager to place
# it), so the main window is raised until the pointer is over it before every click.
click_menu() { # X Y NAME
    local where
    for _ in $(seq 20); do
        xdotool windowraise "$main_win" mousemove --window "$main_win" "$1" "$2"
        where=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
        if [ "$where" = "$main_win" ]; then
            xdotool click 1
            return 0
        fi
        sleep 0.1
    done
    fail "could not bring the menu command \"$3\" under the pointer"
}

# A window is mapped before it is painted: its screenshot is retaken until it shows content.
# Each window is taken while nothing covers it: xwd reads the screen, not the window.
shoot_painted() { # WINDOW PNG NAME
    local colours=0 deadline=$((SECONDS + 10)) w h gw gh
    read -r _ _ gw gh < <(geometry "$1")
    while [ "$SECONDS" -lt "$deadline" ]; do
        shoot "$1" "$2"
        colours=$(pngtopnm "$2" | ppmhist -noheader | wc -l)
        [ "$colours" -ge 16 ] && break
        sleep 0.2
    done
    [ "$colours" -ge 16 ] || fail "the $3 window shows only $colours colours after 10 s: not painted?"
    read -r w h < <(pngtopnm "$2" | pamfile -size)
    [ "$w" -eq "$gw" ] && [ "$h" -eq "$gh" ] || fail "$3 screenshot is ${w}x${h}, window is ${gw}x${gh}"
    ok "screenshot $2: ${w}x${h}, $colours colours"
}

# 5. About and Help through the menu bar. About comes first: on Xvfb the About box stays black
# when it is shown over the help window, though the program paints it.
click_menu "$about_x" "$about_y" About
about_win=$(wait_window "$ABOUT_TITLE" 10)
ok "menu \"About\" opens the window \"$ABOUT_TITLE\""
shoot_painted "$about_win" "$out/about-window.png" About
click_menu "$help_x" "$help_y" Help
help_win=$(wait_window "$HELP_TITLE" 10)
ok "menu \"Help\" opens the window \"$HELP_TITLE\""
shoot_painted "$help_win" "$out/help-window.png" help
[ -n "$(find_window "$ABOUT_TITLE")" ] || fail "the About box closed when Help opened"

shoot root "$out/screen-with-windows.png"
read -r scr_w scr_h < <(pngtopnm "$out/screen-with-windows.png" | pamfile -size)
[ "$scr_w" -eq "$SCREEN_W" ] && [ "$scr_h" -eq "$SCREEN_H" ] ||
    fail "screen screenshot is ${scr_w}x${scr_h}, expected ${SCREEN_W}x${SCREEN_H}"
ok "screenshot $out/screen-with-windows.png: ${scr_w}x${scr_h}"

# 6. Exit&Save: the program saves, closes its windows and ends by itself with status 0.
[ ! -e "$store" ] || fail "the store exists before Exit&Save: $store"
click_menu "$exit_x" "$exit_y" "Exit&Save"
deadline=$((SECONDS + 15))
while [ "$SECONDS" -lt "$deadline" ]; do
    app_alive || break
    sleep 0.1
done
app_alive && fail "the program is still running 15 s after Exit&Save"
set +e
wait "$app_pid"
app_status=$?
set -e
app_pid=""
[ "$app_status" -eq 0 ] || fail "Exit&Save ended the program with status $app_status"
ok "Exit&Save ends the program by itself with status 0"
for title in "$HELP_TITLE" "$ABOUT_TITLE" "$MAIN_TITLE"; do
    [ -z "$(find_window "$title")" ] || fail "window \"$title\" is still shown after Exit&Save"
done
remaining=$(own_windows | wc -l)
[ "$remaining" -eq 0 ] || fail "$remaining of the program's windows are left on the screen after Exit&Save"
ok "windows \"$HELP_TITLE\" (id $help_win) and \"$ABOUT_TITLE\" (id $about_win) are gone, none of the program's is left"
[ -n "$(xdotool search --class '^xlogo$' 2>/dev/null)" ] || fail "the other client's window went with the program's"
ok "the other client's window is still there"

[ -f "$store" ] || fail "Exit&Save wrote no store at \$XDG_CONFIG_HOME/Kestrelon/Kestrelon.conf"
# key=value pairs of the [Properties] group, one "key value" per line.
properties=$(awk '
    /^\[.*\]$/ { group = $0; next }
    group == "[Properties]" && index($0, "=") > 1 {
        k = substr($0, 1, index($0, "=") - 1); v = substr($0, index($0, "=") + 1)
        print k, v
    }' "$store")
absent=()
for key in "${KEYS[@]}"; do
    grep -q "^$key " <<<"$properties" || absent+=("$key")
done
[ ${#absent[@]} -eq 0 ] || fail "keys missing from [Properties]: ${absent[*]}"
count=$(grep -c . <<<"$properties" || true)
[ "$count" -eq ${#KEYS[@]} ] ||
    fail "[Properties] holds $count keys, expected exactly ${#KEYS[@]}: $(cut -d' ' -f1 <<<"$properties" | tr '\n' ' ')"
ok "store \$XDG_CONFIG_HOME/Kestrelon/Kestrelon.conf holds exactly the ${#KEYS[@]} keys under [Properties]"
top=$(awk '$1 == "frmTop" { print $2 }' <<<"$properties")
left=$(awk '$1 == "frmLeft" { print $2 }' <<<"$properties")
[ "$top" = 0 ] && [ "$left" = 0 ] || fail "stored window position frmTop=$top frmLeft=$left, expected 0 and 0"
ok "stored window position frmTop=0 frmLeft=0"
[ ! -e "$work/home/.config/Kestrelon" ] || fail "settings were also written under \$HOME/.config"
ok "nothing written under \$HOME/.config"

echo "e2e: $checks passed, 0 failed"
