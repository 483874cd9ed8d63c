#!/usr/bin/env bash
# The main job on the bundled sample project: the moments of every case.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
"$bin/ormavex-batch" --moments examples/caisson-A.kvt
