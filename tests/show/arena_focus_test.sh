#!/usr/bin/env bash
# The players' tunnel as the camera runs into its mouth (38.5 to 41 s): the view of the stadium in
# the middle of the frame stays sharp, at the show's small capture size and at 1280 x 561. Sharpness
# is picture-check's: the mean absolute Laplacian of the luma over the centre fifth by third.
#   arena_focus_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# check WIDTH HEIGHT LOWEST: every frame of the span at that size is at least LOWEST sharp.
check() {
  local width="$1" height="$2" lowest="$3" out="$work/$1"
  mkdir -p "$out"
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    "$build/orvo-show" --resources "$build/resources" --capture "$out" --from 38.5 --to 41 --fps 2 \
    --width "$width" --height "$height" >"$out.log" 2>&1 || { cat "$out.log" >&2; fail "capture at $width x $height failed"; }
  "$build/tools/picture-check/picture-check" "$out"/frame_*.png >"$out.check" || fail "picture-check failed"
  local frames
  frames=$(grep -c "sharpness=" "$out.check" || true)
  [ "$frames" -eq 6 ] || fail "expected the 6 frames of 38.5 to 41 s at $width x $height, got $frames"
  awk -v lowest="$lowest" -v size="$width x $height" '
    /sharpness=/ { split($0, parts, "sharpness="); value = parts[2] + 0; time = 38.5 + 0.5 * NR - 0.5
                   printf "%s at %.1f s: sharpness %.4f\n", size, time, value
                   if (value < lowest) { printf "FAIL: %s at %.1f s is %.4f, under %s\n", size, time, value, lowest; bad = 1 } }
    END { exit bad }' "$out.check" || fail "the focus region went soft at $width x $height"
}

check 640 280 0.035
check 1280 561 0.03
echo "PASS"
