#!/bin/sh
# Fails, naming the subsystems involved, when the subsystems of the core (the
# folders of src/core) include each other in a circle. Each
# '#include "core/sub/..."' in a file of src/core/own/ is an edge sub -> own, and
# tsort names the members of every loop among these edges.
# Usage: check_includes.sh [SRC_CORE]   (default: src/core beside this script)
cd "${1:-$(dirname "$0")/../src/core}" || exit 2
loops=$(grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"core/[A-Za-z_]+/' \
            --include='*.h' --include='*.cpp' . |
        sed -E 's|^\./([^/]+)/[^:]*:.*"core/([^/]+)/$|\2 \1|' | awk '$1 != $2' | sort -u |
        tsort 2>&1 >/dev/null | sed -n 's/^tsort: \([^ ]*\)$/\1/p')
[ -z "$loops" ] && exit 0
echo "include cycle between these core subsystems:" $loops >&2
exit 1
