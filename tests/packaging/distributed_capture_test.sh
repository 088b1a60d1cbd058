#!/usr/bin/env bash
# Distributed capture: two local workers, each rendering its part of a two-second span, joined give the
# same frames (names and bytes) as one capture of the span; a part with missing frames stops the join.
#   distributed_capture_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/capture_lib.sh"
build="$1" source_dir="$2"
script="$source_dir/scripts/distributed-capture.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY

# A start between whole seconds: every frame is counted from it, so the parts meet on the same frames.
span=(--from 40.3 --to 42.3 --fps 10)
size=(--width 256 --height 112)
plan=$("$script" --out "$work/dist" --workers 2 "${span[@]}" --plan)
[ "$plan" = $'0 40.300 41.299 0 10\n1 41.300 42.300 10 11' ] || fail "unexpected plan: $plan"

mkdir -p "$work/one"
"$build/orvo-show" --capture "$work/one" "${span[@]}" "${size[@]}" >"$work/one.log" 2>&1 || { cat "$work/one.log"; fail "single capture failed"; }
"$script" --out "$work/dist" --workers 2 "${span[@]}" --program "$build/orvo-show" -- "${size[@]}" >"$work/dist.log" 2>&1 ||
  { cat "$work/dist.log"; fail "distributed capture failed"; }
[ -d "$work/dist/part-1" ] || fail "the second worker wrote nothing"
same_frames "$work/one" "$work/dist/frames"

# A part that lost a frame is named, and nothing is joined from it.
rm "$work/dist/part-1/frame_000004.png"
if "$script" --out "$work/dist" --workers 2 "${span[@]}" --join >"$work/join.log" 2>&1; then fail "joined an incomplete part"; fi
grep -q "part 1 has 10 frames, not 11" "$work/join.log" || { cat "$work/join.log"; fail "the incomplete part was not named"; }

# Bad requests are refused with exit code 2.
for bad in "--workers 0" "--fps x" "--from 1,5" "--worker 7 --program $build/orvo-show"; do
  set +e; "$script" --out "$work/bad" $bad >"$work/bad.log" 2>&1; rc=$?; set -e
  [ "$rc" -eq 2 ] || { cat "$work/bad.log"; fail "'$bad' gave exit code $rc, not 2"; }
done
echo "PASS"
