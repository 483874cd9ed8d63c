#!/usr/bin/env bash
# The desktop entry, the AppStream metainfo and the file type pass the
# freedesktop tools, and the file type recognises a project both by its
# extension and, without it, by the start of its first line.
#
#   DesktopFilesTest.sh SOURCE_DIR METAINFO
set -euo pipefail
source=$1 metainfo=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

desktop-file-validate "$source/packaging/com.velmorra.ormavex.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=ormavex %f' "$source/packaging/com.velmorra.ormavex.desktop" || fail "Exec is not 'ormavex %f'"
cp "$metainfo" "$tmp/"
appstreamcli validate --no-net --pedantic "$tmp/$(basename "$metainfo")" || fail "appstreamcli validate"

mkdir -p "$tmp/mime/packages"
cp "$source/packaging/com.velmorra.ormavex.mime.xml" "$tmp/mime/packages/com.velmorra.ormavex.xml"
XDG_DATA_HOME=$tmp XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>"$tmp/mime.log" || { cat "$tmp/mime.log" >&2; fail "update-mime-database"; }
[ ! -s "$tmp/mime.log" ] || { cat "$tmp/mime.log" >&2; fail "update-mime-database complained"; }
grep -q '^[0-9]*:application/x-ormavex-project:\*\.kvt$' "$tmp/mime/globs2" || fail "*.kvt glob missing"
# The magic must be the bytes the project files start with.
magic=$(head -c 29 "$source/examples/caisson-A.kvt")
[ "$magic" = "VELMORRA INPUT FILE FORMAT V1" ] || fail "the sample does not start with the magic"
grep -aq "$magic" "$tmp/mime/magic" || fail "magic of the first line missing"
echo "desktop entry, metainfo and file type valid"
