#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench/), generates a 512 MB log corpus in a temporary
# directory, warms the page cache with it, runs the benchmarks and prints the ratios.
# Usage: scripts/bench.sh [--keep] [--bytes SIZE] [-- EXTRA_QBR_BENCH_FLAGS...]
#   --keep        keep the temporary directory (corpus, catalog, outputs) and print its name
#   --bytes SIZE  corpus size for a quick trial (default 512M, the size the goals are set for)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
bytes=512M
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
    --keep) keep=1 ;;
    --bytes) bytes=${2:?--bytes needs a size}; shift ;;
    --) shift; extra=("$@"); break ;;
    *) echo "usage: scripts/bench.sh [--keep] [--bytes SIZE] [-- QBR_BENCH_FLAGS...]" >&2; exit 2 ;;
    esac
    shift
done

"$root/scripts/setup-debian.sh"
build="$root/build-bench"
# GCC 12 at -O3 reports a false -Wrestrict overlap inside std::string's operator+ (GCC bug
# 105329); only the Release build sees it, so only this build turns it off.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBR_BENCH=ON -DQBR_WERROR=ON \
    -DQBR_TESTS=OFF -DQBR_GUI=OFF -DCMAKE_CXX_FLAGS=-Wno-restrict >/dev/null
cmake --build "$build" -j2 --target qbr_bench qbr_bench_memory qbr_bench_search quenbrill-genlogs

work=$(mktemp -d /tmp/qbr-bench.XXXXXX)
cleanup() {
    if [ "$keep" -eq 1 ]; then
        echo "kept: $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

echo "== generating a $bytes corpus in $work/logs"
"$build/tools/quenbrill-genlogs" --out "$work/logs" --seed 1 --bytes "$bytes"
echo "== warming the page cache"
find "$work/logs" -type f -exec cat {} + >/dev/null

echo "== throughput (each figure against a plain pass in the same run)"
"$build/bench/qbr_bench" --benchmark_color=false --corpus "$work/logs" \
    --catalog-dir "$work/catalog" "${extra[@]}" | tee "$work/bench.txt"
echo "== search over the 100 000-item catalog"
"$build/bench/qbr_bench_search" --benchmark_color=false --corpus "$work/logs" \
    --catalog-dir "$work/catalog" | tee "$work/search.txt"
echo "== memory of the loaded catalog"
"$build/bench/qbr_bench_memory" "$work/catalog/bench" | tee "$work/memory.txt"

echo
echo "== summary"
grep -h '^summary:' "$work/bench.txt" "$work/search.txt" "$work/memory.txt" | sed 's/^summary: /  /'
