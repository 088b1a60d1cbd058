#!/usr/bin/env bash
# Rendering without X: a capture through EGL (SDL's offscreen driver, no DISPLAY) has the same bytes
# as the capture of the same span on an X display with the same GL driver, and the benchmark runs there.
#   headless_capture_test.sh BUILD_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/capture_lib.sh"
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

orvo_capture "$build/orvo-show" "$work/offscreen"
grep -q "capture: 11 frames" "$work/offscreen.log" || { cat "$work/offscreen.log"; fail "the offscreen capture did not write the 11 frames of the span"; }

x_capture=("$build/orvo-show" --capture "$work/x11" "${ORVO_TEST_SPAN[@]}")
mkdir -p "$work/x11"
if [ -n "${DISPLAY:-}" ]; then
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "${x_capture[@]}" >"$work/x11.log" 2>&1 || { cat "$work/x11.log"; fail "X capture failed"; }
else
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24" "${x_capture[@]}" >"$work/x11.log" 2>&1 ||
    { cat "$work/x11.log"; fail "X capture under Xvfb failed"; }
fi
same_frames "$work/x11" "$work/offscreen"

env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  "$build/orvo-show" --benchmark --from 40 --to 41 --fps 10 --width 256 --height 112 >"$work/bench.out" 2>"$work/bench.err" ||
  { cat "$work/bench.err"; fail "offscreen benchmark failed"; }
grep -q "fps=" "$work/bench.out" || { cat "$work/bench.out" "$work/bench.err"; fail "offscreen benchmark printed no frame times"; }
echo "PASS"
