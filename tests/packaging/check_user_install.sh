#!/usr/bin/env bash
# A per-user install, cmake --install BUILD --prefix ~/.local, with a temporary home: everything
# lands under ~/.local, and a desktop finds the launcher entry, its icon and the manual page.
# Usage: check_user_install.sh CMAKE_COMMAND BUILD_DIR SOURCE_DIR VERSION BUILT_PROGRAM
set -uo pipefail
checks_name="per-user install"
. "$(dirname "$0")/checks.sh"

cmake=$1 build=$2 src=$3 version=$4 built=$5
need_tool desktop-file-validate desktop-file-utils
need_tool man man-db
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-user.XXXXXX") || abort "mktemp failed"
trap 'rm -rf "$tmp"' EXIT
home=$tmp/home
mkdir "$home"

echo "HOME=$home cmake --install $build --prefix ~/.local"
if ! HOME=$home "$cmake" --install "$build" --prefix "$home/.local" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    abort "cmake --install failed"
fi
check_installed_tree "$home/.local" "$src" "$version" "$built"
outside=$(cd "$home" && find . -mindepth 1 -not -path './.local' -not -path './.local/*')
check "nothing is installed outside ~/.local${outside:+ (found: $outside)}" test -z "$outside"

# Where desktops look when XDG_DATA_HOME is not set: ~/.local/share.
data=$home/.local/share
desktop=$data/applications/$app_id.desktop
out=$(desktop-file-validate "$desktop" 2>&1)
check "the desktop entry in ~/.local/share/applications is valid${out:+: $out}" test -z "$out"
# A session need not have ~/.local/bin on its PATH.
check "the entry starts the program by its path" test "$(desktop_key "$desktop" Exec)" = "$home/.local/bin/kestrelon"
icon=$(desktop_key "$desktop" Icon)
check "its icon $icon is in ~/.local/share/icons/hicolor at 48x48 and scalable" \
    test -f "$data/icons/hicolor/48x48/apps/$icon.png" -a -f "$data/icons/hicolor/scalable/apps/$icon.svg"
# man derives ~/.local/share/man from ~/.local/bin on the PATH.
page=$(unset MANPATH && HOME=$home PATH=$home/.local/bin:/usr/bin:/bin man -w kestrelon 2>&1)
check "man finds kestrelon(1) through ~/.local/bin on the PATH (found '$page')" \
    test "$page" = "$data/man/man1/kestrelon.1.gz"
finish
