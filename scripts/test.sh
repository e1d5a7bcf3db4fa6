#!/usr/bin/env bash
# Builds and runs every test. Usage: scripts/test.sh [--sanitize]
#   --sanitize   an AddressSanitizer + UBSan build of the tests (build-asan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-debian.sh"

build="$root/build-test"
extra=()
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-asan"
    extra=(-DQBR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S "$root" -B "$build" -G Ninja -DQBR_WERROR=ON "${extra[@]}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
