#!/usr/bin/env bash
# Rebuilds the show's resources whenever one of their sources changes (shaders/, content/, the
# generators in tools/), so that a show playing with --edit or --watch picks the change up within a
# second or so of the save. ./run.sh --edit starts it beside the show; by hand, in a second terminal:
#
#   scripts/watch-build.sh            # watches the repository, rebuilds build/resources
#   scripts/watch-build.sh OTHER_BUILD_DIR
#
# Uses inotifywait (Debian package inotify-tools) when it is there, otherwise looks once a second.
# Ctrl+C (or the end of run.sh) stops it.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "watch-build: $build is not a configured build folder (run ./run.sh once first)" >&2
  exit 2
fi
sources=()
for d in shaders content tools; do [ -d "$root/$d" ] && sources+=("$root/$d"); done

rebuild() {
  local out
  if out=$(cmake --build "$build" --target orvo_resources 2>&1); then
    echo "watch-build: resources rebuilt ($(date +%T))"
  else
    # The show keeps playing what it has; the author sees why here.
    echo "watch-build: the resources did not build:" >&2
    printf '%s\n' "$out" | tail -n 20 >&2
  fi
}

echo "watch-build: watching ${sources[*]#"$root/"} for changes"
if command -v inotifywait >/dev/null 2>&1; then
  # Monitor mode keeps watching while a rebuild runs; a burst of events (an editor's save writes
  # several files) is gathered for a fifth of a second and makes one rebuild.
  inotifywait -q -m -r -e close_write,moved_to,create,delete --format '%w%f' "${sources[@]}" |
    while read -r _; do
      while read -r -t 0.2 _; do :; done
      rebuild
    done
else
  stamp="$(mktemp)"
  trap 'rm -f "$stamp"' EXIT
  while sleep 1; do
    if [ -n "$(find "${sources[@]}" -newer "$stamp" -type f -print -quit 2>/dev/null)" ]; then
      touch "$stamp"
      rebuild
    fi
  done
fi
