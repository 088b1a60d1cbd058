#!/usr/bin/env bash
# Installs what is missing, builds the show into build/ (only the program and its resources: the tests
# are test.sh's), lays out build/resources/, and plays the show.
# Every option is passed to orvo-show (see ./run.sh --help).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/scripts/deps.sh"
orvo_install_deps "${ORVO_SHOW_PACKAGES[@]}"
orvo_configure "$root" show
orvo_build "$root" orvo-show orvo_resources
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  case " $* " in
    *" --help "*|*" --version "*) ;;
    # Capture and benchmark need a GL context but no screen: EGL gives them one without any X server.
    *" --capture "*|*" --capture="*|*" --benchmark "*|*" --benchmark="*) export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" ;;
    *) echo "run.sh: no display to show the show on (DISPLAY is unset)." >&2
       echo "Capture it to pictures instead: ./run.sh --capture frames/ --fps 30   (or run under xvfb-run)" >&2
       exit 1 ;;
  esac
fi
# A show that reloads changed resources gets a rebuild of them on every source change beside it.
case " $* " in
  *" --no-watch "*|*" --capture "*|*" --capture="*|*" --benchmark "*|*" --benchmark="*|*" --help "*|*" --version "*) ;;
  *" --edit "*|*" --watch "*)
    # In a process group of its own, so that its inotifywait and any rebuild end with it.
    setsid "$root/scripts/watch-build.sh" "$root/build" &
    watcher=$!
    trap 'kill -- "-$watcher" 2>/dev/null' EXIT
    status=0
    "$root/build/orvo-show" "$@" || status=$?
    exit "$status" ;;
esac
exec "$root/build/orvo-show" "$@"
