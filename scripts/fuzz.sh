#!/bin/sh
# Builds the fuzz targets natively with clang (libFuzzer, AddressSanitizer,
# UBSan) in build-fuzz/ and runs each for the given number of seconds, 60
# unless told: sh scripts/fuzz.sh 3600. The data-file reader starts from the
# seed corpus in tests/fuzz/corpus, the calendar and contacts readers from
# tests/fuzz/calendar-corpus; those stay as they are, and what earlier runs
# kept goes to build-fuzz/corpus-<target>. Any finding fails, its input left in build-fuzz/.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"

# fuzz target dictionary seed-corpus
fuzz() {
    kept=$build/corpus-$1
    # Earlier runs kept the data-file reader's finds in build-fuzz/corpus.
    [ "$1" = EntryReaderFuzz ] && [ -d "$build/corpus" ] && [ ! -d "$kept" ] && mv "$build/corpus" "$kept"
    mkdir -p "$kept"
    log=$build/$1.log
    if ! "$build/$1" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="$2" -artifact_prefix="$build/$1-" "$kept" "$3" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $1 found a fault, kept in $build/ ($1-crash-*, -leak-*, -timeout-*, -oom-*); log in $log" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $1: $runs runs in $seconds s, no findings (log in $log)"
}
fuzz EntryReaderFuzz "$root/tests/fuzz/EntryReader.dict" "$root/tests/fuzz/corpus"
fuzz CalendarReaderFuzz "$root/tests/fuzz/CalendarReader.dict" "$root/tests/fuzz/calendar-corpus"
