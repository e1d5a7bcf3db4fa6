#!/bin/sh
# Regenerates the bundled sample set samples/logs and samples/download with the log
# generator of a build tree. The generator is deterministic: the same command gives the
# same bytes and the same file times.
#   usage: tools/make-samples.sh BUILD_DIR
set -eu
build=${1:?usage: tools/make-samples.sh BUILD_DIR}
generator="$build/tools/quenbrill-genlogs"
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -x "$generator" ]; then
    echo "make-samples: no generator at $generator (build the quenbrill-genlogs target)" >&2
    exit 1
fi
rm -rf "$root/samples/logs" "$root/samples/download"
"$generator" --out "$root/samples/logs" --seed 23 --logs 12 \
    --downloads "$root/samples/download" --keep-percent 60
