#!/usr/bin/env bash
# Builds the Debian package with cpack into a temporary folder, checks its control fields
# (Depends computed by dpkg-shlibdeps), unpacks it and starts the unpacked program on the
# offscreen platform.
# Usage: check_deb.sh CPACK_COMMAND BUILD_DIR SOURCE_DIR VERSION BUILT_PROGRAM
set -uo pipefail
checks_name="deb package"
. "$(dirname "$0")/checks.sh"

cpack=$1 build=$2 src=$3 version=$4 built=$5
need_tool dpkg-deb dpkg
need_tool dpkg-shlibdeps dpkg-dev
need_tool timeout coreutils
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-deb.XXXXXX") || abort "mktemp failed"
trap 'rm -rf "$tmp"' EXIT

echo "cpack -G DEB -B $tmp/out --config $build/CPackConfig.cmake"
if ! "$cpack" -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    abort "cpack failed"
fi
debs=("$tmp"/out/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { cat "$tmp/cpack.log"; abort "cpack made ${#debs[@]} .deb files, expected one"; }
deb=${debs[0]}
arch=$(dpkg --print-architecture)
check "file name is kestrelon_${version}_$arch.deb (found $(basename "$deb"))" \
    test "$(basename "$deb")" = "kestrelon_${version}_$arch.deb"

echo "control file:"
dpkg-deb -f "$deb" | sed 's/^/    /'
field() { dpkg-deb -f "$deb" "$1"; }
check "Package: kestrelon" test "$(field Package)" = kestrelon
check "Version: $version" test "$(field Version)" = "$version"
check "Architecture: $arch" test "$(field Architecture)" = "$arch"
check "Section: electronics" test "$(field Section)" = electronics
check "Maintainer is set" test -n "$(field Maintainer)"
depends=$(field Depends)
# dpkg-shlibdeps writes each library package with the lowest version the binary needs.
check "Depends has libqt6widgets6 with a version from shlibdeps" \
    grep -Eq '(^|, )libqt6widgets6 \(>= [0-9][^)]*\)' <<<"$depends"
check "Depends has libc6 with a version from shlibdeps" \
    grep -Eq '(^|, )libc6 \(>= [0-9][^)]*\)' <<<"$depends"

dpkg-deb -x "$deb" "$tmp/root" || abort "dpkg-deb -x failed"
check_installed_tree "$tmp/root/usr" "$src" "$version" "$built"
program=$tmp/root/usr/bin/kestrelon
check "the packaged program is stripped" bash -c 'file -b "$1" | grep -q ", stripped"' _ "$program"
missing=$(ldd "$program" 2>&1 | grep 'not found')
check "every shared library of the packaged program resolves" test -z "$missing"
[ -n "$missing" ] && printf '%s\n' "$missing"

# The program takes no arguments and runs until closed, so "started" means it is still
# running when timeout stops it after a few seconds; an early exit is a start-up failure.
mkdir -p "$tmp/config" "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
grace=3
echo "starting $program (offscreen, empty XDG_CONFIG_HOME) for $grace s"
HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime QT_QPA_PLATFORM=offscreen \
    timeout --kill-after=5 "$grace" "$program" >"$tmp/run.log" 2>&1 </dev/null
rc=$?
# 124: stopped by timeout's TERM; 137: it ignored TERM and needed timeout's KILL.
check "the packaged program was still running after $grace s (exit $rc; 124 = stopped by timeout)" \
    test "$rc" -eq 124 -o "$rc" -eq 137
if [ -s "$tmp/run.log" ]; then
    echo "its output:"
    sed 's/^/    /' "$tmp/run.log"
fi
finish
