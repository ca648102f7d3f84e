#!/usr/bin/env bash
# Re-renders the committed PNG icons from the SVG drawings. Run by hand after editing an SVG;
# the build does not run it, so building needs no SVG renderer. Needs rsvg-convert
# (Debian package librsvg2-bin).
#   16        kestrelon-16.svg, drawn on the 16 px grid
#   22, 24    kestrelon-24.svg, drawn on the 24 px grid (22: one-pixel border cropped off)
#   32..256   kestrelon.svg
set -euo pipefail
cd "$(dirname "$0")"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found: apt-get install librsvg2-bin" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

render() { # render SVG SIZE
    rsvg-convert --width "$2" --height "$2" --output "kestrelon-$2.png" "$1"
    echo "kestrelon-$2.png  <-  $1"
}

render kestrelon-16.svg 16
sed -e 's/width="24" height="24" viewBox="0 0 24 24"/width="22" height="22" viewBox="1 1 22 22"/' \
    kestrelon-24.svg > "$tmp/kestrelon-22.svg"
grep -q 'viewBox="1 1 22 22"' "$tmp/kestrelon-22.svg" || { echo "could not crop kestrelon-24.svg" >&2; exit 1; }
render "$tmp/kestrelon-22.svg" 22
render kestrelon-24.svg 24
for size in 32 48 64 128 256; do
    render kestrelon.svg "$size"
done
