#!/usr/bin/env bash
# Sets up, builds and starts the tuning utility. When no USB serial adapter is plugged in, a
# simulated controller is started beside it (and stopped with it), so the whole exchange can be
# seen at once: pick its port in the port box (the tooltip says "virtual port") and Connect.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
out=${QTRV_BUILD_DIR:-$root/build}
mkdir -p "$out"
"$root/tools/build.sh" "$out/release" -DQTRV_WERROR=ON >/dev/null
bin="$out/release"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display: start this from a desktop session (or try: xvfb-run bash tools/start.sh)." >&2
    exit 1
fi

sim_pid=
stop_sim() { [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null; true; }
trap stop_sim EXIT

if ! compgen -G '/dev/ttyUSB*' >/dev/null && ! compgen -G '/dev/ttyACM*' >/dev/null; then
    echo "No USB serial adapter found: starting the simulated controller."
    "$bin/sim/qtrv-sim" &
    sim_pid=$!
    sleep 0.5
fi
"$bin/app/qtrv"
