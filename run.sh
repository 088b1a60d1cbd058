#!/usr/bin/env bash
# Installs what is missing, builds into build/, lays out build/resources/, and plays the show.
# Every option is passed to orvo-show (see ./run.sh --help).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/scripts/deps.sh"
orvo_install_deps
orvo_build "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  case " $* " in
    *" --help "*|*" --version "*|*" --capture "*|*" --benchmark "*) ;;
    *) echo "run.sh: no display to show the show on (DISPLAY is unset)." >&2
       echo "Capture it to pictures instead: ./run.sh --capture frames/ --fps 30   (or run under xvfb-run)" >&2
       exit 1 ;;
  esac
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  case " $* " in
    # Capture and benchmark need a GL context but no screen: give them a virtual one.
    *" --capture "*|*" --benchmark "*) exec xvfb-run -a -s "-screen 0 1920x1080x24" "$root/build/orvo-show" "$@" ;;
  esac
fi
exec "$root/build/orvo-show" "$@"
