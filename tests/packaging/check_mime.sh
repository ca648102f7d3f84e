#!/usr/bin/env bash
# A design file opens in Kestrelon from a file manager: the MIME type and desktop entry are
# installed into a private XDG data home, and xdg-mime (through GIO, as GNOME's file manager
# sees it) names the type of a *.kestrelon file and Kestrelon as its application.
# Usage: check_mime.sh MIME_XML DESKTOP_FILE
set -uo pipefail
checks_name="design file type"
. "$(dirname "$0")/checks.sh"

mime_xml=$1
desktop=$2
need_tool update-mime-database shared-mime-info
need_tool update-desktop-database desktop-file-utils
need_tool xdg-mime xdg-utils
need_tool gio libglib2.0-bin

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data/mime/packages" "$tmp/data/applications" "$tmp/config"
cp "$mime_xml" "$tmp/data/mime/packages/$app_id.xml"
cp "$desktop" "$tmp/data/applications/"
export XDG_DATA_HOME=$tmp/data XDG_DATA_DIRS=$tmp/data:/usr/share XDG_CONFIG_HOME=$tmp/config
export XDG_CURRENT_DESKTOP=GNOME

out=$(update-mime-database "$tmp/data/mime" 2>&1)
[ -n "$out" ] && printf '%s\n' "$out"
check "update-mime-database reads the definition without complaint" test -z "$out"
check "desktop-file-validate accepts the entry with its MimeType" desktop-file-validate "$desktop"
update-desktop-database "$tmp/data/applications"

printf '[Properties]\nVin0=5\n' >"$tmp/battery monitor.kestrelon"
type=$(xdg-mime query filetype "$tmp/battery monitor.kestrelon" 2>&1)
check "xdg-mime gives a .kestrelon file the type application/x-kestrelon (found '$type')" \
    test "$type" = "application/x-kestrelon"
app=$(xdg-mime query default application/x-kestrelon 2>&1)
check "xdg-mime opens it with $app_id.desktop (found '$app')" test "$app" = "$app_id.desktop"
icon=$(gio info -a standard::icon "$tmp/battery monitor.kestrelon" 2>&1)
check "its icon is application-x-kestrelon" grep -q 'application-x-kestrelon' <<<"$icon"
finish
