#!/usr/bin/env bash
# The same set-up as run.sh, but building everything (tests, fuzzers, benchmarks), then the whole CTest suite; GL tests run under Xvfb when there is no display.
# Extra arguments go to ctest (for example: ./test.sh -L unit).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/scripts/deps.sh"
orvo_install_deps "${ORVO_PACKAGES[@]}"
orvo_configure "$root" all
orvo_build "$root"
cd "$root/build"
# Tests never need to be heard; the dummy driver still pulls audio in real time.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Only read by a -DSANITIZE=ON build: system libraries' own leaks are not ours to report.
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest_args=(--output-on-failure -j 2 "$@")
if [ -z "${DISPLAY:-}" ]; then
  # -noreset: without it the server starts over whenever its last client leaves, and a program
  # connecting in that moment finds no display (SDL falls back to its offscreen driver).
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest "${ctest_args[@]}"
fi
exec ctest "${ctest_args[@]}"
