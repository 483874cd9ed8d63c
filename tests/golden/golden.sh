#!/usr/bin/env bash
# The golden files of the sample project examples/caisson-A.kvt, computed with
# the delivered coefficient tables: the moments (ormavex-batch --moments) and
# the report's print files (the combined print file, and for each figure on it
# its figure file and its drawing file, in page order). Temporary file names
# are replaced by the names of the golden files, so that the rest is compared
# byte for byte.
#
#   golden.sh BIN_DIR          compares (CTest: GoldenFiles)
#   golden.sh BIN_DIR update   writes the golden files again; only for a
#                              change that is meant to alter the results
#                              (cmake --build build --target golden-update)
set -euo pipefail
export LC_ALL=C
bin=$1
mode=${2:-check}
here=$(cd "$(dirname "$0")" && pwd)
sample=$here/../../examples/caisson-A.kvt
golden=$here/caisson-A

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=$work/out
mkdir -p "$out" "$work/tmp"
: >"$work/no-numbering.ini"

"$bin/ormavex-batch" --moments "$sample" >"$out/moments.csv"
combined=$(TMPDIR=$work/tmp "$bin/ormavex-batch" --report --keep \
  --settings "$work/no-numbering.ini" "$sample" | tail -n 1)

# Every temporary file the report names, with the golden name it gets.
names=("$combined" report.prn)
n=0
while IFS= read -r figure; do
  n=$((n + 1))
  names+=("$figure" "figure-$n.prn")
  drawing=$(grep -a "^$work/tmp/" "$figure" | head -n 1 | tr -d '\r')
  names+=("$drawing" "drawing-$n.prn")
done < <(grep -a '?FG;' "$combined" | sed 's/.*?FG;[^;]*;[^;]*;//' | tr -d '\r')
script=
for ((i = 0; i < ${#names[@]}; i += 2)); do
  script+="s|${names[i]}|${names[i + 1]}|g;"
done
for ((i = 0; i < ${#names[@]}; i += 2)); do
  sed "$script" "${names[i]}" >"$out/${names[i + 1]}"
done

if [ "$mode" = update ]; then
  rm -rf "$golden"
  mkdir -p "$golden"
  cp "$out"/* "$golden/"
  echo "golden files written to $golden"
  exit 0
fi

status=0
for name in $( (ls "$golden" && ls "$out") | sort -u); do
  if ! cmp -s "$golden/$name" "$out/$name"; then
    echo "differs from its golden file: $name" >&2
    diff -a "$golden/$name" "$out/$name" | head -n 20 >&2 || true
    status=1
  fi
done
exit $status
