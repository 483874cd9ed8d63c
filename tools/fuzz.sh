#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang (ASan + UBSan) and runs
# each for MINUTES minutes, PARALLEL at a time, at the given nice level.
# The working corpus, logs and crash files go to build-fuzz/fuzz-work/NAME/
# (outside git); the summary lists executions and findings per harness.
#
#   tools/fuzz.sh [-n NICE] [-j PARALLEL] MINUTES [HARNESS...]
#
# A crash file found is replayed later with build/bin/ormavex_fuzz_replay NAME FILE;
# copy it into fuzz/repro/NAME/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

nice_level=19
parallel=1
while getopts "n:j:" opt; do
    case $opt in
    n) nice_level=$OPTARG ;;
    j) parallel=$OPTARG ;;
    *) exit 1 ;;
    esac
done
shift $((OPTIND - 1))
minutes=${1:-}
[[ "$minutes" =~ ^[0-9]+$ ]] || { echo "usage: tools/fuzz.sh [-n NICE] [-j PARALLEL] MINUTES [HARNESS...]" >&2; exit 1; }
shift
command -v clang++ >/dev/null || { echo "tools/fuzz.sh: clang++ is needed (apt-get install clang)" >&2; exit 1; }

if [ ! -f build-fuzz/build.ninja ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B build-fuzz -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_CXX_COMPILER=clang++ -DORMAVEX_FUZZ=ON -DORMAVEX_BUILD_TESTS=OFF -DORMAVEX_BUILD_BENCH=OFF
fi
nice -n "$nice_level" cmake --build build-fuzz --target fuzz

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for f in build-fuzz/bin/fuzz_*; do harnesses+=("${f##*/fuzz_}"); done
fi

run_one() {  # run_one NAME
    local name=$1 work=build-fuzz/fuzz-work/$1
    mkdir -p "$work/corpus" "$work/crashes"
    local seeds=fuzz/corpus/$name repro=fuzz/repro/$name
    [ -d "$repro" ] || repro=  # libFuzzer stops at a folder that does not exist
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp \
    nice -n "$nice_level" "build-fuzz/bin/fuzz_$name" -max_total_time=$((minutes * 60)) \
        -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 -artifact_prefix="$work/crashes/" \
        "$work/corpus" "$seeds" ${repro:+"$repro"} >"$work/log.txt" 2>&1 || true
    local execs crashes
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log.txt" | grep -o '[0-9]*$' | tail -n 1 || true)
    crashes=$(find "$work/crashes" -type f | wc -l)
    echo "$name: ${execs:-?} executions, $crashes findings (log $work/log.txt)"
}

running=0
for name in "${harnesses[@]}"; do
    run_one "$name" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait
