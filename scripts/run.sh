#!/usr/bin/env bash
# Builds the station and runs it against the simulated device on COM1; the simulator stops
# when the station closes. Without a display it runs under a virtual one, presses the six test
# buttons, saves a screenshot of the window and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
packages=("${BUILD_PACKAGES[@]}")
[ $headless -eq 1 ] && packages+=("${HEADLESS_PACKAGES[@]}")
scripts/ensure-packages.sh "${packages[@]}"
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_TESTS=OFF >/dev/null
cmake --build build-run --target ostrel-smt ostrel-smt-sim

# The simulator links its line in a directory of this run's own, so that links the user keeps
# for real adapters are never replaced.
work=$(mktemp -d)
export OSTREL_SMT_PORTS=$work/ports
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

build-run/tools/ostrel-smt-sim --port COM1 >"$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -L "$OSTREL_SMT_PORTS/COM1" ] && break; sleep 0.05; done
[ -L "$OSTREL_SMT_PORTS/COM1" ] || { cat "$work/sim.log"; echo "The simulator did not start." >&2; exit 1; }

if [ $headless -eq 0 ]; then
  build-run/app/ostrel-smt
  exit 0
fi

# No display: a virtual one, the six buttons pressed by the mouse, a screenshot.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
export XDG_RUNTIME_DIR=$work # Qt wants one; a server session may have none
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done 2>/dev/null || sleep 1
build-run/app/ostrel-smt &
station=$!
pids+=($station)
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ostrel_SMT for Brazil$" | head -1)
sleep 0.5
# RESET, KEYPAD, ALERT, SIM, SD, then MIC, whose sine burst stays on the chart.
for x in 363 38 168 233 298 103; do
  xdotool mousemove --window "$window" "$x" 92 click 1
  sleep 0.6 # the answer ends with a 100 ms pause before the station takes it as a block
done
xdotool mousemove --window "$window" 230 300 # off the buttons, so none is shown lit
sleep 0.5
shot=$PWD/ostrel-smt-screenshot.png
import -window "$window" "$shot"
answered=$(grep -c 'answered command' "$work/sim.log" || true)
echo "Screenshot of the station: $shot"
echo "The simulator answered $answered test frames, one block each: the counter (red, top"
echo "middle) shows $answered, the chart the last answer (MIC's sine burst)."
xdotool windowfocus --sync "$window" key Escape # the exit button's key ends the station
wait "$station" 2>/dev/null || true
