#!/usr/bin/env bash
# Validates the configured AppStream metainfo offline and checks that it matches the desktop
# entry and the project version. Usage: check_metainfo.sh METAINFO DESKTOP_FILE VERSION
set -uo pipefail
checks_name="metainfo"
. "$(dirname "$0")/checks.sh"

metainfo=$1 desktop=$2 version=$3
id=$(basename "$metainfo" .metainfo.xml)
need_tool appstreamcli appstream
[ -f "$metainfo" ] || abort "$metainfo does not exist (is cmake/Packaging.cmake included?)"
echo "checking $metainfo"

# --no-net: the screenshot and home page URLs are checked for form only.
out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
rc=$?
printf '%s\n' "$out"
check "appstreamcli validate --no-net exits 0 (exit $rc)" test "$rc" -eq 0
check "appstreamcli reports no errors or warnings" text_lacks '^[EW]: ' "$out"

check "no @VARIABLE@ left unconfigured" file_lacks '@[A-Z_]+@' "$metainfo"
check "component id is $id" grep -q "<id>$id</id>" "$metainfo"
check "release $version (from project()) is listed" grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo"
check "launchable is the desktop entry $(basename "$desktop")" \
    grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"
check "the desktop entry's Icon is the component id" test "$(desktop_key "$desktop" Icon)" = "$id"
check "provides the binary kestrelon" grep -q '<binary>kestrelon</binary>' "$metainfo"
check "screenshot is docs/screenshot.png" grep -Eq '<image>https://[^<]*/docs/screenshot\.png</image>' "$metainfo"
check "has a content rating" grep -q '<content_rating type="oars-1' "$metainfo"
finish
