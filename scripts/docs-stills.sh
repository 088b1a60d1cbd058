#!/usr/bin/env bash
# Captures the README's stills of the show (docs/show/*.png, 480 x 210, one frame each) with the
# built program, then the contact sheet of the show's pictures (docs/contact-sheet.png).
# Usage: scripts/docs-stills.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
show="$build/orvo-show"
[ -x "$show" ] || { echo "docs-stills: $show is missing; build first" >&2; exit 1; }
run=()
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1280x1024x24")
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# name and show time in seconds, one per schedule entry the README shows
stills=(
  "01-intro 20" "02-arena-tunnel 38" "03-stadium 45" "04-feature-title 59.2"
  "05-stadium-characters 92" "06-stadium-lights-out 106" "07-buildup-test-card 113.5"
  "08-buildup-message 116.5" "09-buildup-network 119.5" "10-buildup-message-for-you 123.3"
  "11-tunnel-stands 131" "12-tunnel-cuts 160" "13-end-screen 185"
)
mkdir -p "$root/docs/show"
for entry in "${stills[@]}"; do
  set -- $entry
  rm -rf "$work/frames"
  to="$(awk -v t="$2" 'BEGIN { printf "%.3f", t + 0.02 }')"
  "${run[@]}" "$show" --capture "$work/frames" --fps 30 --from "$2" --to "$to" --width 480 --height 210 \
    > "$work/log" 2>&1 || { echo "docs-stills: capture at $2 s failed:" >&2; tail -5 "$work/log" >&2; exit 1; }
  cp "$work/frames/frame_000000.png" "$root/docs/show/$1.png"
  echo "docs/show/$1.png  ($2 s)"
done
"$build/tools/gen-pictures/gen-pictures" "$work/pictures" --contact-sheet "$root/docs/contact-sheet.png" > /dev/null
echo "docs/contact-sheet.png"
