#!/usr/bin/env bash
# Installs the build tree into a temporary DESTDIR with cmake --install and checks that the
# program, the desktop entry, the metainfo and every icon size landed where desktops look.
# Usage: check_install.sh CMAKE_COMMAND BUILD_DIR SOURCE_DIR VERSION BUILT_PROGRAM
set -uo pipefail
checks_name="install"
. "$(dirname "$0")/checks.sh"

cmake=$1 build=$2 src=$3 version=$4 built=$5
need_tool appstreamcli appstream
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-install.XXXXXX") || abort "mktemp failed"
trap 'rm -rf "$tmp"' EXIT

prefix=/usr
echo "cmake --install $build --prefix $prefix  with DESTDIR=$tmp/root"
if ! DESTDIR=$tmp/root "$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    abort "cmake --install failed"
fi
echo "installed files:"
(cd "$tmp/root" && find . -type f | sort | sed 's/^\./    /')

check_installed_tree "$tmp/root$prefix" "$src" "$version" "$built"
check "with prefix $prefix the desktop entry starts kestrelon from the PATH" \
    test "$(desktop_key "$tmp/root$prefix/share/applications/$app_id.desktop" Exec)" = kestrelon

# validate-tree also checks that the metainfo finds its desktop entry in the installed tree.
out=$(appstreamcli validate-tree --no-net "$tmp/root" 2>&1)
rc=$?
printf '%s\n' "$out"
check "appstreamcli validate-tree --no-net on the installed tree exits 0 (exit $rc)" test "$rc" -eq 0
finish
