#!/usr/bin/env bash
# Runs every benchmark and prints the figures with their summary.
#
#   scripts/run-benchmarks.sh [build-dir [game-seconds [sections]]]
#
# build-dir defaults to build-bench (configured with -DTANK_BENCH=ON and
# built); game-seconds, 60 by default, is how long the game runs in a window
# (a few seconds make a quick check); sections, all by default, picks some of
# the five, e.g. "3 4" for the window benchmarks alone (to alternate runs of
# two builds). The figures stay in the build directory: <name>.json for each
# benchmark, frame_times.csv for the game.
#
# The game runs on a private virtual X server started here, with a silent
# audio device, while xdotool moves the mouse and clicks; the server and
# everything started with it are stopped on every way out.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build-bench}" && pwd)
game_seconds=${2:-60}
sections=" ${3:-1 2 3 4 5} "
wanted() { [[ $sections == *" $1 "* ]]; }
cd "$repo"  # the benchmarks read data/ from the working directory

for tool in python3 Xvfb xdotool; do
  command -v "$tool" > /dev/null || { echo "missing: $tool (make deps installs it)" >&2; exit 1; }
done

x_server=""
game=""
player=""
display_file=$(mktemp)
cleanup() {
  for pid in $player $game $x_server; do
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
  done
  rm -f "$display_file"
}
trap cleanup EXIT

echo "== machine"
echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo); $(uname -sr);" \
  "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$(g++ --version | head -n 1); Allegro $(pkg-config --modversion allegro-5)"

if wanted 1; then
# Each benchmark times the two scenes in pairs, tick by tick; the ratio shown
# is the median over five repetitions, with its spread.
echo
echo "== 1. framework against the raw library (memory bitmap 800 x 600)"
"$build/framework_overhead_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$build/framework_overhead.json" --benchmark_out_format=json
python3 - "$build/framework_overhead.json" << 'EOF'
import json, sys
runs = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    runs.setdefault(b["run_name"].split("/manual_time")[0], {})[b["aggregate_name"]] = b
print("\nN        raw tick  framework tick  ratio (cv)      goal <= 1.15   "
      "extra per sprite   update alone: ratio")
for n in (100, 1000, 10000):
    tick, update = runs[f"tick/{n}"], runs[f"update_only/{n}"]
    ratio = tick["median"]["ratio"]
    verdict = "met" if ratio <= 1.15 else "MISSED"
    print(f"{n:<8} {tick['median']['raw_us'] / 1000:7.2f} ms {tick['median']['framework_us'] / 1000:10.2f} ms"
          f"  {ratio:6.3f} ({tick['cv']['ratio'] * 100:3.1f} %)  {verdict:<14} "
          f"{tick['median']['extra_per_sprite_ns']:8.0f} ns   {update['median']['ratio']:12.1f}x")
EOF
fi

if wanted 2; then
echo
echo "== 2. tick cost: update_all_objects + update_game"
"$build/tick_cost_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_out="$build/tick_cost.json" --benchmark_out_format=json
python3 - "$build/tick_cost.json" << 'EOF'
import json, math, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"]
print("\nobjects   median tick    p99 tick   per object   growth from the size before: measured, n log n")
growth_ok = True
previous = None
for b in runs:
    n, tick = b["objects"], b["median_us"]
    line = f"{n:<9.0f} {tick:9.2f} us {b['p99_us']:9.2f} us {b['per_object_ns']:8.1f} ns"
    if previous:
        measured = tick / previous[1]
        allowed = n * math.log2(n) / (previous[0] * math.log2(previous[0]))
        growth_ok = growth_ok and measured <= allowed
        line += f"   {measured:6.1f}x  {allowed:6.1f}x"
    print(line)
    previous = (n, tick)
real = runs[0]["median_us"]
print(f"real game: {real:.2f} us a tick, goal < 20 us: {'met' if real < 20 else 'MISSED'}")
print(f"growth no faster than n log n: {'met' if growth_ok else 'MISSED'}")
EOF
fi

wanted 3 || wanted 4 || exit 0
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$display_file" 2> /dev/null &
x_server=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"
export ALSOFT_DRIVERS=null

if wanted 3; then
echo
echo "== 3. the running game in a window, $game_seconds s"
TANK_BENCH_LAUNCH_NS=$(date +%s%N) "$build/running_game_bench" "$game_seconds" "$build/frame_times.csv" &
game=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name running_game_bench | head -n 1)

# A player: the mouse sweeps the sky and the two buttons fire in turn, each
# held for 50 ms so that a tick samples it down.
(
  shot=0
  while kill -0 "$game" 2> /dev/null; do
    button=$((shot % 2 == 0 ? 1 : 3))
    xdotool mousemove --window "$window" $((100 + RANDOM % 600)) $((60 + RANDOM % 300)) sleep 0.1 \
      mousemove --window "$window" $((100 + RANDOM % 600)) $((60 + RANDOM % 300)) \
      mousedown "$button" sleep 0.05 mouseup "$button" 2> /dev/null || true
    sleep 0.1
    shot=$((shot + 1))
  done
) &
player=$!

status=0
wait "$game" || status=$?
game=""
[ "$status" -eq 0 ] || { echo "running_game_bench failed ($status)" >&2; exit "$status"; }

# Not a goal of its own: it shows which parts of the frame the time above
# goes to. A quick run takes a quick look.
echo
echo "== 3b. the parts of a frame, in a window"
"$build/frame_parts_bench" $((game_seconds >= 60 ? 8 : 2))
fi


# The bunnymark scene with the framework and with plain library calls, in one
# window on the same virtual X server; both counts and their ratio.
if wanted 4; then
echo
echo "== 4. bunnymark: framework against plain library calls, in a window"
"$build/bunnymark_bench" $((game_seconds >= 60 ? 60 : 30)) $((game_seconds >= 60 ? 3 : 1))
fi

# Objects born and dying every tick at mixed depths: what one spawn and one
# removal cost as the registry grows. No window needed.
if wanted 5; then
echo
echo "== 5. registry churn: a spawn and a removal, 1 000 to 40 000 objects alive"
"$build/registry_churn_bench"
fi
