#!/usr/bin/env bash
# Frame cost of two builds of the show, side by side, per schedule entry: process CPU time and wall
# time per frame, taken so that loading, shader compilation and the first frames drop out. Every
# entry is benchmarked twice per build from the same start, for 2 and for 18 frames of its fixed
# clock; the difference over the 16 frames between is the steady frame. The builds alternate run by
# run, so both see the same load on a shared machine.
# Usage: scripts/frame-cost.sh BEFORE_SHOW AFTER_SHOW OUT_DIR [WIDTH HEIGHT REPEATS]
#   BEFORE_SHOW, AFTER_SHOW: orvo-show programs, each with its resources folder beside it
# Prints a Markdown table (also written to OUT_DIR/table.md); the runs' outputs stay in OUT_DIR.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 BEFORE_SHOW AFTER_SHOW OUT_DIR [WIDTH HEIGHT REPEATS]" >&2; exit 2; }
before="$1" after="$2" out="$3" width="${4:-640}" height="${5:-280}" repeats="${6:-2}"
for show in "$before" "$after"; do [ -x "$show" ] || { echo "frame-cost: $show is not a program" >&2; exit 1; }; done
mkdir -p "$out"
run=()
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1280x1024x24")
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# entry name (as the benchmark prints it), start second, frames per second of the clock
spans=("intro 12 4" "tunnelarena 36.2 4" "superbowl 45 4" "nfl-feature-text-001 57.7 8" "buildup 114 4"
       "tunnel 130 4" "endscreen 180 4")

one_run() {  # build-tag show entry from to fps file
  /usr/bin/time -f "TIME cpu_user=%U cpu_sys=%S wall=%e maxrss_kb=%M" timeout 300 \
    "${run[@]}" "$2" --benchmark --width "$width" --height "$height" --fps "$6" --from "$4" --to "$5" > "$7" 2>&1 ||
    { echo "frame-cost: $1 $3 from $4 failed, see $7" >&2; return 1; }
}

for r in $(seq 1 "$repeats"); do
  for span in "${spans[@]}"; do
    set -- $span
    short="$(awk -v s="$2" -v f="$3" 'BEGIN { printf "%.4f", s + 2 / f }')"
    long="$(awk -v s="$2" -v f="$3" 'BEGIN { printf "%.4f", s + 18 / f }')"
    for length in short long; do
      to="$short"; [ "$length" = long ] && to="$long"
      one_run before "$before" "$1" "$2" "$to" "$3" "$out/before-$1-r$r-$length.txt"
      one_run after "$after" "$1" "$2" "$to" "$3" "$out/after-$1-r$r-$length.txt"
    done
  done
done

python3 - "$out" "$repeats" > "$out/table.md" <<'EOF'
import re, statistics, sys
out, repeats = sys.argv[1], int(sys.argv[2])
entries = ["intro", "tunnelarena", "superbowl", "nfl-feature-text-001", "buildup", "tunnel", "endscreen"]

def read(path):
    text = open(path).read()
    time = re.search(r"TIME cpu_user=([\d.]+) cpu_sys=([\d.]+) wall=([\d.]+) maxrss_kb=(\d+)", text)
    total = re.search(r"^total .*? frames=(\d+) avg_ms=([\d.]+)", text, re.M)
    return (float(time[1]) + float(time[2]), float(time[3]), int(time[4]) / 1024, int(total[1]), float(total[2]))

print("| entry | build | CPU ms/frame | wall ms/frame | benchmark avg_ms | peak memory MB |")
print("|---|---|---|---|---|---|")
for entry in entries:
    for build in ("before", "after"):
        cpu, wall, avg, peak = [], [], [], []
        for r in range(1, repeats + 1):
            s = read(f"{out}/{build}-{entry}-r{r}-short.txt")
            l = read(f"{out}/{build}-{entry}-r{r}-long.txt")
            frames = l[3] - s[3]
            cpu.append(1000 * (l[0] - s[0]) / frames)
            wall.append(1000 * (l[1] - s[1]) / frames)
            avg.append(l[4])
            peak.append(max(l[2], s[2]))
        runs = lambda v: " / ".join(f"{x:.0f}" for x in v)
        print(f"| {entry} | {build} | {statistics.mean(cpu):.0f} ({runs(cpu)}) | {statistics.mean(wall):.0f} "
              f"({runs(wall)}) | {statistics.mean(avg):.0f} | {max(peak):.0f} |")
EOF
cat "$out/table.md"
