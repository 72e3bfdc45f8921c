#!/usr/bin/env bash
# Sets everything up, builds Varnolt and starts it. Arguments go to the program, for example a
# capture file, or --simulate to work with the virtual analyzer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/build.sh"
exec "$root/build/src/app/varnolt" "$@"
