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
exec "$root/build/orvo-show" "$@"
