#!/bin/sh
# Builds the data-file reader's fuzz target natively with clang (libFuzzer,
# AddressSanitizer, UBSan) in build-fuzz/ and runs it for the given number of
# seconds, 60 unless told: sh scripts/fuzz.sh 3600. It starts from the seed
# corpus in tests/fuzz/corpus, which stays as it is, and from what earlier
# runs kept in build-fuzz/corpus. Any finding fails, its input left in build-fuzz/.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"
mkdir -p "$build/corpus"
log=$build/fuzz.log
if ! "$build/EntryReaderFuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict="$root/tests/fuzz/EntryReader.dict" -artifact_prefix="$build/" \
    "$build/corpus" "$root/tests/fuzz/corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: a finding, kept in $build/ (crash-*, leak-*, timeout-*, oom-*); log in $log" >&2
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "fuzz: $runs runs in $seconds s, no findings (log in $log)"
