#!/usr/bin/env bash
# The README's first command: installs what is missing, builds Quenbrill and starts it on the
# bundled sample logs with throw-away settings and catalog (see scripts/run-demo.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-debian.sh"
exec "$root/scripts/run-demo.sh" "$@"
