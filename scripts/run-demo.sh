#!/usr/bin/env bash
# Builds the desktop program and starts it on the bundled sample logs with throw-away settings:
# a temporary config folder whose registry points EmNifty's log and download folders at
# samples/, and a copy of the program there, so that its catalog files land beside it and
# the user's own catalog and settings are never touched.
#
#   scripts/run-demo.sh            # build into build-demo, run until the window is closed
#   KEEP_DEMO=1 scripts/run-demo.sh   # keep the temporary folder afterwards
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-demo"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBR_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target quenbrill

demo=$(mktemp -d "${TMPDIR:-/tmp}/quenbrill-demo.XXXXXX")
if [[ -z "${KEEP_DEMO:-}" ]]; then
    trap 'rm -rf "$demo"' EXIT
fi
mkdir -p "$demo/config/Quenbrill"
cp "$build/src/app/quenbrill" "$demo/quenbrill"

# REGEDIT4 strings escape the backslash and the double quote.
reg_escape() { printf '%s' "$1" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g'; }
{
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]\r\n'
    printf '"LogPath"="%s"\r\n' "$(reg_escape "$repo/samples/logs/")"
    printf '"DownPath"="%s"\r\n' "$(reg_escape "$repo/samples/download/")"
    printf '\r\n'
} >"$demo/config/Quenbrill/registry.reg"

echo "Settings and catalog of this run: $demo"
cd "$demo"
XDG_CONFIG_HOME="$demo/config" "$demo/quenbrill"
