#!/usr/bin/env bash
# Checks the two package lists of ./dev against what the build reads and what the tests call:
# every package `./dev run` installs is read by the build or is a font the window uses, and
# every program the test scripts call comes with a package that `./dev test` installs.
# Usage: check_packages.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
checks_name="package lists"
. "$(dirname "$0")/../packaging/checks.sh"

src=$1 build=$2
need_tool dpkg-query dpkg
need_tool apt-cache apt
mapfile -t run < <("$src/dev" packages run)
mapfile -t test < <("$src/dev" packages test)
[ "${#run[@]}" -gt 0 ] && [ "${#test[@]}" -gt 0 ] || abort "./dev packages gave an empty list"
both=$(comm -12 <(printf '%s\n' "${run[@]}" | sort) <(printf '%s\n' "${test[@]}" | sort))
check "no package is on both lists${both:+ (found: ${both//$'\n'/ })}" test -z "$both"

# with_links: each path read on stdin, every link on its way to its target, and the target.
with_links() {
    local p next
    while IFS= read -r p; do
        echo "$p"
        while [ -L "$p" ]; do
            next=$(readlink "$p")
            [[ $next == /* ]] || next=$(dirname "$p")/$next
            p=$next
            echo "$p"
        done
    done | xargs -r -d '\n' realpath -qes -- 2>/dev/null
}

# The files the build reads outside the source and build trees: the tools and libraries CMake
# found, the headers the compiler read, and the programs and libraries the build rules call.
[ -f "$build/CMakeCache.txt" ] && [ -f "$build/build.ninja" ] || abort "$build is not a configured build"
build_inputs=$(
    {
        cat "$build/CMakeCache.txt" "$build/build.ninja"
        find "$build" -name '*Info.json' -exec cat {} +
        ninja -C "$build" -t deps 2>/dev/null
    } | grep -Eo '/(usr|etc|lib|bin)/[^ ";:$]*' | sort -u | with_links | sort -u)
[ -n "$build_inputs" ] || abort "found no file that the build reads"

owns_build_input_or_font() { # PACKAGE
    dpkg-query -L "$1" 2>/dev/null | grep -q '^/usr/share/fonts/.*\.[ot]tf$' && return 0
    [ -n "$(comm -12 <(dpkg-query -L "$1" 2>/dev/null | sort -u) <(printf '%s\n' "$build_inputs"))" ]
}
for p in "${run[@]}"; do
    check "./dev run's $p is read by the build or is a font" owns_build_input_or_font "$p"
done

# Programs the test scripts call: the first word of each command, after assignments and the
# words that run another command. Comments and quoted text (awk programs, messages) are left out.
called=$(find "$src/tests" -type f \( -name '*.sh' -o -name '*.py' -o -name CMakeLists.txt \) -exec awk '
    FNR == 1 { quote = "" }
    {
        line = ""
        for (i = 1; i <= length($0); i++) {
            c = substr($0, i, 1)
            if (quote == "\047") { if (c == "\047") quote = ""; continue }
            if (c == "\\") { i++; continue }
            if (quote == "" && c == "\047") { quote = c; continue }
            if (c == "\"") quote = quote == "" ? c : ""
            if (quote == "" && c == "#" && (i == 1 || substr($0, i - 1, 1) ~ /[ \t]/)) break
            line = line c
        }
        if (line ~ /^[ \t]*(add_test|COMMAND)/) {
            n = split(line, w, /[ \t]+/)
            for (k = 1; k < n; k++) if (w[k] ~ /COMMAND$/) print w[k + 1]
            next
        }
        gsub(/\$\(|`|&&|\|\||[|;({!]|"/, "\n", line)
        n = split(line, parts, "\n")
        for (j = 1; j <= n; j++) {
            m = split(parts[j], w, /[ \t]+/)
            for (k = 1; k <= m; k++) {
                if (w[k] == "" || w[k] ~ /^[A-Za-z_][A-Za-z0-9_]*=/ || w[k] ~ /^-/) continue
                if (w[k] ~ /^(then|do|else|elif|if|while|until|exec|command|timeout|xargs|env|nice|sudo|time|[0-9.]+)$/) continue
                print w[k]; break
            }
        }
    }' {} + | grep -E '^[A-Za-z][A-Za-z0-9_.+-]*$' | sort -u)

# The base system every Debian has, and what installing both lists brings.
base_system() { dpkg-query -W -f='${Priority} ${Essential}\n' "$1" 2>/dev/null | grep -Eq '^required |yes$'; }
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${run[@]}" "${test[@]}" 2>/dev/null | grep -v '^ ' | sort -u)
# Each program, with the package that gives it (or the link on the way to it that one gives).
declare -A tool_of
for tool in $called; do
    path=$(type -P "$tool") || continue
    while IFS= read -r p; do tool_of[$p]=$tool; done < <(echo "$path" | with_links)
done
declare -A owner_of
while IFS=: read -r package path; do
    path=${path# }
    [ -n "${tool_of[$path]:-}" ] && [ -z "${owner_of[${tool_of[$path]}]:-}" ] &&
        owner_of[${tool_of[$path]}]=${package%%,*}
done < <(dpkg-query -S "${!tool_of[@]}" 2>/dev/null)
for tool in "${!owner_of[@]}"; do
    owner=${owner_of[$tool]}
    base_system "$owner" && continue
    check "the tests call $tool, from $owner, which ./dev test installs" grep -qx "$owner" <<<"$closure"
done
finish
