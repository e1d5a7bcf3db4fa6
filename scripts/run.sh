#!/usr/bin/env bash
# Builds Quenbrill and shows it on the bundled sample logs, with throw-away settings and catalog.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -x "$root/scripts/run-demo.sh" ]; then
    exec "$root/scripts/run-demo.sh" "$@"
fi
"$root/scripts/setup-debian.sh"
build="$root/build-demo"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBR_TESTS=OFF
cmake --build "$build" --target quenbrill-cli
demo=$(mktemp -d)
"$build/src/cli/quenbrill-cli" scan --catalog "$demo/quenbrill" --logs "$root/samples/logs"
"$build/src/cli/quenbrill-cli" list --catalog "$demo/quenbrill"
echo "catalog written to $demo/quenbrill.{dat,trr,nod}"
