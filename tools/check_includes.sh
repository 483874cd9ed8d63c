#!/bin/sh
# Fails, naming files or folders, when the includes of src/ break its layers:
#  - a layer includes only itself and the layers below it
#    (core <- render <- gui <- apps);
#  - the core includes no Qt header, the renderer no Qt Widgets header;
#  - within core, gui and apps, the subsystems (their folders) include each
#    other in one direction only: each '#include "layer/sub/..."' in a file of
#    src/layer/own/ is an edge sub -> own, and tsort names the members of
#    every loop among these edges.
# Usage: check_includes.sh [SRC [QTWIDGETS_INCLUDE_DIR]]
#   SRC defaults to src beside this script; the Widgets header names come
#   from QTWIDGETS_INCLUDE_DIR (found under /usr/include when not given).
cd "${1:-$(dirname "$0")/../src}" || exit 2
widgets=${2:-$(ls -d /usr/include/qt6/QtWidgets /usr/include/*/qt6/QtWidgets 2>/dev/null | head -n1)}
status=0
fail() {
    echo "$1" >&2
    status=1
}
# "file:line:name" for every quoted include in LAYER.
quoted() {
    grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' \
        --include='*.h' --include='*.cpp' "$1" 2>/dev/null | sed -E 's/#[^"]*"([^"]*)"$/\1/'
}

# Layer order: the layers a layer may include.
for rule in "core:core" "render:core|render" "gui:core|render|gui" "apps:core|render|gui|apps"; do
    layer=${rule%%:*}
    bad=$(quoted "$layer" | grep -vE ":[0-9]+:($(echo "${rule#*:}"))/")
    [ -n "$bad" ] && fail "includes above or outside the layer $layer:
$bad"
done

# Qt: none in the core, no Widgets in the renderer.
bad=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' --include='*.h' --include='*.cpp' core)
[ -n "$bad" ] && fail "Qt headers in the core:
$bad"
names='QtWidgets'
if [ -n "$widgets" ] && [ -d "$widgets" ]; then
    names=$(ls "$widgets" | grep -E '^Q[A-Za-z]+$' | tr '\n' '|')QtWidgets
fi
bad=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($names)[/>]" \
        --include='*.h' --include='*.cpp' render)
[ -n "$bad" ] && fail "Qt Widgets headers in the renderer:
$bad"

# No circle among the subsystems of a layer.
for layer in core gui apps; do
    loops=$(quoted "$layer" | grep -E ":[0-9]+:$layer/[^/]+/" |
            sed -E "s|^$layer/([^/]+)/[^:]*:[0-9]+:$layer/([^/]+)/.*$|\2 \1|" |
            awk 'NF == 2 && $1 != $2' | sort -u |
            tsort 2>&1 >/dev/null | sed -n 's/^tsort: \([^ ]*\)$/\1/p')
    [ -n "$loops" ] && fail "include cycle between these $layer subsystems: $(echo $loops | tr " " "\n" | sort -u | tr "\n" " ")"
done
exit $status
