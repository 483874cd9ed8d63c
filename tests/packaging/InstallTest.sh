#!/usr/bin/env bash
# The install rules as a user meets them: `cmake --install` into a temporary
# prefix, then the installed programs run through their links in bin/ from
# another working folder, where they must find their data files in the
# program folder lib/ormavex/ beside themselves.
#
#   InstallTest.sh BUILD_DIR SOURCE_DIR VERSION PROGRAM...
set -euo pipefail
build=$1 source=$2 version=$3
shift 3
programs=("$@")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for p in "${programs[@]}"; do
    [ "$(readlink "$prefix/bin/$p")" = "../lib/ormavex/$p" ] || fail "bin/$p is not a link to ../lib/ormavex/$p"
    [ -x "$prefix/lib/ormavex/$p" ] || fail "lib/ormavex/$p missing"
    [ -f "$prefix/share/man/man1/$p.1.gz" ] || fail "man page of $p missing"
    got=$("$prefix/bin/$p" --version) || fail "$p --version failed"
    [ "$got" = "$p $version" ] || fail "$p --version printed '$got', not '$p $version'"
done
for f in "$source"/data/*; do
    name=$(basename "$f")
    [ "$name" = README.md ] && continue
    cmp -s "$f" "$prefix/lib/ormavex/$name" || fail "data file $name not installed"
done
# The manual beside the data files, with every image its pages show.
for f in "$source"/docs/manual/*.html; do
    cmp -s "$f" "$prefix/lib/ormavex/manual/$(basename "$f")" || fail "manual page $(basename "$f") not installed"
done
for img in $(grep -oh 'images/[^"]*\.png' "$source"/docs/manual/*.html | sort -u); do
    [ -f "$prefix/lib/ormavex/manual/$img" ] || fail "manual image $img not installed"
done
unwanted=$(find "$prefix" \( -name '*test*' -o -name '*bench*' -o -name '*coefgen*' -o -name '*.a' \) -print)
[ -z "$unwanted" ] || fail "installed but not part of the product: $unwanted"

# From another working folder, with the sample project beside it.
mkdir "$tmp/work"
cp "$source/examples/caisson-A.kvt" "$tmp/work/"
cd "$tmp/work"
"$prefix/bin/ormavex-batch" --moments caisson-A.kvt >installed.csv || fail "installed --moments failed"
"$build/bin/ormavex-batch" --moments caisson-A.kvt >built.csv
[ "$(wc -l <installed.csv)" -gt 100 ] || fail "installed --moments printed too little"
cmp -s installed.csv built.csv || fail "installed and built programs compute different moments"
"$prefix/bin/ormavex-batch" --report --pdf report.pdf caisson-A.kvt || fail "installed --report --pdf failed"
[ "$(head -c 5 report.pdf)" = "%PDF-" ] || fail "report.pdf is not a PDF"
if command -v pdfinfo >/dev/null; then
    pdfinfo report.pdf | grep -q "^Producer: *Ormavex $version\$" || fail "PDF producer is not Ormavex $version"
    pages=$(pdfinfo report.pdf | sed -n 's/^Pages: *//p')
    [ "$pages" = 6 ] || fail "report.pdf has $pages pages, not one per case (6)"
fi

# The desktop integration comes with the application.
if [ -e "$prefix/bin/ormavex" ]; then
    for f in share/applications/com.velmorra.ormavex.desktop share/icons/hicolor/scalable/apps/com.velmorra.ormavex.svg \
             share/mime/packages/com.velmorra.ormavex.xml share/metainfo/com.velmorra.ormavex.metainfo.xml; do
        [ -f "$prefix/$f" ] || fail "$f not installed"
    done
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate-tree --no-net "$prefix" >"$tmp/validate.log" 2>&1 || { cat "$tmp/validate.log" >&2; fail "appstreamcli validate-tree"; }
    fi
fi
echo "installed and run: ${programs[*]}"
