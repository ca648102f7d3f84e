#!/usr/bin/env bash
# Builds the Debian package with cpack into a temporary folder, checks its control fields
# (Depends computed by dpkg-shlibdeps), runs lintian on it, unpacks it, checks the packaged
# program's hardening and starts it on the offscreen platform.
# Usage: check_deb.sh CPACK_COMMAND BUILD_DIR SOURCE_DIR VERSION BUILT_PROGRAM
set -uo pipefail
checks_name="deb package"
. "$(dirname "$0")/checks.sh"

cpack=$1 build=$2 src=$3 version=$4 built=$5
need_tool dpkg-deb dpkg
need_tool dpkg-shlibdeps dpkg-dev
need_tool timeout coreutils
need_tool lintian lintian
need_tool hardening-check devscripts
need_tool dpkg-parsechangelog dpkg-dev
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
debversion=$(dpkg-deb -f "$deb" Version)

echo "control file:"
dpkg-deb -f "$deb" | sed 's/^/    /'
field() { dpkg-deb -f "$deb" "$1"; }
check "Package: kestrelon" test "$(field Package)" = kestrelon
# The upstream version from project() plus a Debian revision: a packaging-only change
# raises the revision, not the program's version.
check "Version is $version with a Debian revision (found $debversion)" \
    grep -Eq "^${version//./\\.}-[0-9]+\$" <<<"$debversion"
check "file name is kestrelon_${debversion}_$arch.deb (found $(basename "$deb"))" \
    test "$(basename "$deb")" = "kestrelon_${debversion}_$arch.deb"
check "Architecture: $arch" test "$(field Architecture)" = "$arch"
check "Section: electronics" test "$(field Section)" = electronics
maintainer=$(field Maintainer)
check "Maintainer is a name and an address (found '$maintainer')" \
    grep -Eq '^[^<>@]+ <[^<>@ ]+@[^<>@ ]+\.[a-z]+>$' <<<"$maintainer"
check "the Maintainer's address is not a placeholder" \
    text_lacks '@(.*\.)?(example\.(org|com|net)|localhost|invalid)>' "$maintainer"
depends=$(field Depends)
# dpkg-shlibdeps writes each library package with the lowest version the binary needs.
check "Depends has libqt6widgets6 with a version from shlibdeps" \
    grep -Eq '(^|, )libqt6widgets6 \(>= [0-9][^)]*\)' <<<"$depends"
check "Depends has libc6 with a version from shlibdeps" \
    grep -Eq '(^|, )libc6 \(>= [0-9][^)]*\)' <<<"$depends"

# Debian's own checker, once per run: any error or warning fails; info tags are shown.
# (--show-overrides would make overridden warnings count for --fail-on.)
echo "lintian --fail-on error,warning --display-info $(basename "$deb")"
# Its temporary files go where this script's go, and are removed with them.
out=$(TMPDIR=$tmp lintian --fail-on error,warning --display-info "$deb" 2>&1)
rc=$?
[ -n "$out" ] && printf '%s\n' "$out" | sed 's/^/    /'
check "lintian exits 0 (exit $rc)" test "$rc" -eq 0
check "lintian reports no errors or warnings" text_lacks '^[EW]: ' "$out"
# The help text is shown exactly as written, its misspelling included; an override says so.
check "the help text's misspelling is overridden, not reported" \
    text_lacks ' spelling-error-in-binary paramters ' "$out"
check "every lintian override is used as written" text_lacks ' (unused|mismatched)-override ' "$out"

dpkg-deb -x "$deb" "$tmp/root" || abort "dpkg-deb -x failed"
check_installed_tree "$tmp/root/usr" "$src" "$version" "$built"
program=$tmp/root/usr/bin/kestrelon
check "the packaged program is stripped" bash -c 'file -b "$1" | grep -q ", stripped"' _ "$program"
# Debian strips these two as well; the build ID note stays (checked above).
sections=$(readelf -SW "$program" 2>/dev/null)
check "the packaged program has no .comment or .note section" \
    text_lacks '\] \.(comment|note) ' "$sections"
# hardening-check judges fortification by the fortified calls it finds; when no call has a
# size known at compile time there are none to find, so the compile commands are checked.
skip=(--nofortify)
# Its control-flow check needs -fcf-protection and C start files built with it, which only
# distributions whose hardening includes that flag provide.
DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS | grep -q -- -fcf-protection ||
    skip+=(--nocfprotection)
out=$(hardening-check --verbose "${skip[@]}" "$program" 2>&1)
rc=$?
printf '%s\n' "$out" | sed 's/^/    /'
check "hardening-check ${skip[*]} passes on the packaged program (exit $rc)" test "$rc" -eq 0
unfortified=$(awk -v dir="$src/src/" '
    /"command":/ { command = $0 }
    /"file":/ && index($0, "\"" dir) {
        sources++
        if (command !~ / -D_FORTIFY_SOURCE=[1-9] / || command !~ / -O[1-3s] /) print
    }
    END { if (!sources) print "no compile command for a file under " dir }' "$build/compile_commands.json" 2>&1)
check "every source of the program was compiled optimised with -D_FORTIFY_SOURCE" test -z "$unfortified"
[ -n "$unfortified" ] && printf '%s\n' "$unfortified"

doc=$tmp/root/usr/share/doc/kestrelon
zcat "$doc/changelog.Debian.gz" >"$tmp/changelog" 2>/dev/null
check "the changelog's latest entry is this package's version $debversion" \
    test "$(dpkg-parsechangelog -l "$tmp/changelog" -S Version 2>/dev/null)" = "$debversion"
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
