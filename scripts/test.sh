#!/bin/sh
# Installs what is missing, builds, and runs every test: the Windows test
# programs under Wine (each in a throw-away prefix of its own, two at a time),
# then the portable text code natively under AddressSanitizer and UBSan, and
# the data-file and calendar readers under libFuzzer for about a minute each
# (any finding fails).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"
sh "$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest -j2 --output-on-failure)

cmake -S "$root" -B "$root/build-native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTARVENDEL_SANITIZE=ON >/dev/null
cmake --build "$root/build-native"
(cd "$root/build-native" && ctest --output-on-failure)

sh "$root/scripts/fuzz.sh" "${TARVENDEL_FUZZ_SECONDS:-60}"
echo "All tests passed."
