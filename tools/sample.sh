#!/usr/bin/env bash
# The main job on the bundled sample project: the moments of every case, and
# the report as PDF (one page per case with its section force diagram).
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
"$bin/ormavex-batch" --moments examples/caisson-A.kvt
"$bin/ormavex-batch" --report --pdf "${1:-build}/caisson-A-report.pdf" examples/caisson-A.kvt
echo "report: ${1:-build}/caisson-A-report.pdf"
