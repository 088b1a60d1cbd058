#!/usr/bin/env bash
# The long fuzz run: every fuzz target of the build until 1,000,000 executions or 10 minutes, whichever
# comes first, two at a time and at low priority, each with its own corpus folder and log.
#   scripts/fuzz-long.sh [BUILD_DIR] [RUNS] [SECONDS]     (defaults: build 1000000 600)
# Prints one line per target: executions, seconds, and "clean" or the crash file libFuzzer wrote.
# A unit may take a minute of wall time: at low priority on a busy machine seconds are not CPU time.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-1000000}"
seconds="${3:-600}"
out="$build/fuzz-long"
mkdir -p "$out"

mapfile -t targets < <(find "$build/tests" -path '*/fuzzers/fuzz_*' -type f -perm -u+x | sort)
[ "${#targets[@]}" -gt 0 ] || { echo "no fuzz targets in $build (configure with clang and libFuzzer)" >&2; exit 1; }

run_one() {
  local exe="$1" name corpus
  name="$(basename "$exe")"
  corpus="$out/$name-corpus"
  mkdir -p "$corpus"
  # The build's own corpus and the seed folder its test starts from (the test's last argument).
  local dir seed
  dir="$(dirname "$(dirname "$exe")")"
  seed=$(grep "add_test(\[=\[$name\]=\]" "$dir/CTestTestfile.cmake" 2>/dev/null | grep -o '"[^"]*"' | tail -1 | tr -d '"')
  local seeds=("$dir/$name-corpus")
  [ -n "$seed" ] && [ -d "$seed" ] && seeds+=("$seed")
  nice -n 19 "$exe" -runs="$runs" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/$name-" "$corpus" "${seeds[@]}" >"$out/$name.log" 2>&1
  local rc=$? execs time result=clean
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$name.log" | grep -o '[0-9]*$')
  time=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$out/$name.log" | grep -o 'in [0-9]*' | grep -o '[0-9]*')
  [ "$rc" -eq 0 ] || result="FAILED (exit $rc, see $out/$name.log)"
  printf '%-20s %10s executions %5s s  %s\n' "$name" "${execs:-?}" "${time:-?}" "$result"
}

pids=()
for exe in "${targets[@]}"; do
  run_one "$exe" &
  pids+=($!)
  if [ "${#pids[@]}" -ge 2 ]; then
    wait "${pids[0]}"
    pids=("${pids[@]:1}")
  fi
done
wait
