#!/usr/bin/env bash
# Sets up, builds and starts the tuning utility.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
out=${QTRV_BUILD_DIR:-$root/build}
mkdir -p "$out"
"$root/tools/build.sh" "$out/release" >/dev/null
echo "The protocol library is built; the window comes next."
