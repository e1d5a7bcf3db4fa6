#!/usr/bin/env bash
# Builds the fuzzers with clang's libFuzzer and runs each for a short time.
# Usage: scripts/fuzz.sh [SECONDS_PER_FUZZER]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/setup-debian.sh"
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBR_FUZZ=ON -DQBR_TESTS=OFF -DQBR_GUI=OFF -DQBR_WERROR=ON
cmake --build "$build" -j"$(nproc)" --target qbr_fuzzers
failed=0
for fuzzer in "$build"/fuzz/fuzz_*; do
    name=$(basename "$fuzzer")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/${name#fuzz_}"
    echo "== $name for ${seconds}s"
    log="$build/$name.log"
    if ! "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$build/" "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$name found a failure; the input is in $build/"
        failed=1
    else
        grep -E '^Done|stat::' "$log" | tail -n 2
    fi
done
[ "$failed" -eq 0 ] || exit 1
echo "fuzzing done"
