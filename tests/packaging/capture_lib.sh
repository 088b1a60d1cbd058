# Shared by the packaging tests: a short headless capture and a frame-by-frame comparison.
# Sourced; every function fails loudly (a message naming what went wrong) and returns non-zero.

# The span every packaging test captures: one second of the arena tunnel, small, on a 10 fps clock.
ORVO_TEST_SPAN=(--from 40 --to 41 --fps 10 --width 256 --height 112)

fail() { echo "FAIL: $*" >&2; exit 1; }

# orvo_capture PROGRAM OUT_DIR [MORE ARGS]: captures the test span through EGL without any display.
orvo_capture() {
  local program="$1" out="$2"; shift 2
  mkdir -p "$out"
  if ! env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
       "$program" --capture "$out" "${ORVO_TEST_SPAN[@]}" "$@" >"$out.log" 2>&1; then
    cat "$out.log" >&2
    fail "capture with $program into $out failed"
  fi
}

# same_frames DIR_A DIR_B: the same frame files with the same bytes (and at least one of them).
same_frames() {
  local a="$1" b="$2" names_a names_b f
  names_a=$(cd "$a" && ls frame_*.png 2>/dev/null || true)
  names_b=$(cd "$b" && ls frame_*.png 2>/dev/null || true)
  [ -n "$names_a" ] || fail "no frames in $a"
  [ "$names_a" = "$names_b" ] || fail "$a and $b hold different frame files: $(echo $names_a | wc -w) vs $(echo $names_b | wc -w)"
  for f in $names_a; do
    cmp -s "$a/$f" "$b/$f" || fail "$a/$f and $b/$f differ"
  done
  echo "same frames: $(echo $names_a | wc -w) in $a and $b"
}
