#!/usr/bin/env bash
# Captures a span of the show on several workers and joins their frames (and the soundtrack) into one
# numbered sequence and video. Capture is deterministic per frame, so each worker renders its own part
# of the span and the joined frames are the frames one capture of the whole span would give.
#
#   distributed-capture.sh --out DIR [--workers N] [--from S] [--to S] [--fps N] [--program PATH]
#                          [--video FILE.mp4] [--plan | --worker I | --join] [-- MORE orvo-show OPTIONS]
#
# Without --plan, --worker or --join it runs all N workers here as parallel processes, then joins.
#   --plan      print one line per worker: "I FROM TO FIRST_FRAME FRAMES" (nothing is run)
#   --worker I  capture only part I (0-based) into DIR/part-I/; for job schedulers (I = array index)
#   --join      check every part is complete, put the frames into DIR/frames/, make the video
# The span (default 0 to 195 s, the whole show) is cut at whole seconds after --from, so every part
# starts on a frame of the one-capture clock. Every worker needs the program and its resources, and DIR
# on a shared file system. Options after -- (--width, --height, --resources, ...) go to every worker.
set -euo pipefail

usage() { sed -n '2,16p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; }
die() { echo "distributed-capture.sh: $*" >&2; exit "${2:-1}"; }

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
workers=2 from=0 to=195 fps=30 out="" video="" mode=all part=""
program="$root/build/orvo-show"
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out="${2:?}"; shift 2 ;;
    --workers) workers="${2:?}"; shift 2 ;;
    --from) from="${2:?}"; shift 2 ;;
    --to) to="${2:?}"; shift 2 ;;
    --fps) fps="${2:?}"; shift 2 ;;
    --program) program="${2:?}"; shift 2 ;;
    --video) video="${2:?}"; shift 2 ;;
    --plan) mode=plan; shift ;;
    --join) mode=join; shift ;;
    --worker) mode=worker; part="${2:?}"; shift 2 ;;
    --help|-h) usage; exit 0 ;;
    --) shift; extra=("$@"); break ;;
    *) die "unknown option '$1' (see --help)" 2 ;;
  esac
done
[ -n "$out" ] || die "--out DIR is needed (see --help)" 2
[[ "$workers" =~ ^[1-9][0-9]*$ ]] || die "--workers needs a whole number from 1, not '$workers'" 2
[[ "$fps" =~ ^[1-9][0-9]*$ ]] || die "--fps needs a whole number from 1, not '$fps'" 2
seconds_re='^[0-9]+(\.[0-9]{1,3})?$'
[[ "$from" =~ $seconds_re ]] || die "--from needs seconds with at most 3 decimals, not '$from'" 2
[[ "$to" =~ $seconds_re ]] || die "--to needs seconds with at most 3 decimals, not '$to'" 2
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# The plan: milliseconds and frame numbers of each part. Part i covers whole seconds [a, b) of the span
# after its start (the last one up to the end); frame k of the whole capture is at from + k / fps.
plan() {
  awk -v from="$from" -v to="$to" -v fps="$fps" -v n="$workers" 'BEGIN {
    s = int(from * 1000 + 0.5); e = int(to * 1000 + 0.5)
    if (e < s) { print "--to is before --from" > "/dev/stderr"; exit 2 }
    total = int((e - s) * fps / 1000) + 1          # the frames of one capture, both ends included
    whole = int((e - s) / 1000)                      # whole seconds after the start
    if (n > whole) n = whole                         # a part is at least one second ...
    if (n < 1) n = 1                                 # ... or the whole of a shorter span
    for (i = 0; i < n; i++) {
      a = int(whole * i / n); b = int(whole * (i + 1) / n)
      first = a * fps
      ps = s + a * 1000
      if (i == n - 1) { pe = e; frames = total - first }
      else { pe = s + b * 1000 - 1; frames = (b - a) * fps }
      printf "%d %d.%03d %d.%03d %d %d\n", i, int(ps / 1000), ps % 1000, int(pe / 1000), pe % 1000, first, frames
    }
  }'
}

capture_part() {  # capture_part I: the frames of part I into out/part-I
  local line i pfrom pto first frames dir
  line=$(plan | awk -v p="$1" '$1 == p') || exit 1
  [ -n "$line" ] || die "there is no part $1 (parts: $(plan | wc -l))" 2
  read -r i pfrom pto first frames <<<"$line"
  dir="$out/part-$i"
  rm -rf "$dir"
  # --to is given half a millisecond past the part's last moment, so no rounding drops the last frame.
  "$program" --capture "$dir" --from "$pfrom" --to "$pto"5 --fps "$fps" "${extra[@]}" >"$out/part-$i.log" 2>&1 ||
    { tail -n 5 "$out/part-$i.log" >&2; die "part $i failed (log: $out/part-$i.log)"; }
  echo "part $i: $frames frames from $pfrom s done"
}

join_parts() {
  local i pfrom pto first frames j n
  rm -rf "$out/frames"
  mkdir -p "$out/frames"
  while read -r i pfrom pto first frames; do
    n=$(find "$out/part-$i" -maxdepth 1 -name 'frame_*.png' 2>/dev/null | wc -l)
    [ "$n" -eq "$frames" ] || die "part $i has $n frames, not $frames: run it again (--worker $i)"
    for ((j = 0; j < frames; j++)); do
      ln -f "$(printf '%s/part-%d/frame_%06d.png' "$out" "$i" "$j")" \
            "$(printf '%s/frames/frame_%06d.png' "$out" $((first + j)))" 2>/dev/null ||
      cp "$(printf '%s/part-%d/frame_%06d.png' "$out" "$i" "$j")" \
         "$(printf '%s/frames/frame_%06d.png' "$out" $((first + j)))"
    done
  done < <(plan)
  echo "joined $(ls "$out/frames" | wc -l) frames into $out/frames"
  [ -n "$video" ] && make_video
  return 0
}

# The soundtrack sits in the program's resources folder (or the one given after --).
soundtrack() {
  local dir="" k
  for ((k = 0; k < ${#extra[@]}; k++)); do
    [ "${extra[$k]}" = --resources ] && dir="${extra[$((k + 1))]:-}"
  done
  if [ -z "$dir" ]; then
    local bin; bin="$(dirname "$(readlink -f "$program")")"
    for dir in "$bin/resources" "$bin/../share/orvo/resources" "$bin/share/orvo/resources"; do
      [ -d "$dir" ] && break
    done
  fi
  echo "$dir/anthem.mp3"
}

make_video() {
  command -v ffmpeg >/dev/null 2>&1 || die "ffmpeg is not installed, so no video was made; the frames are in $out/frames"
  local music offset
  music="$(soundtrack)"
  offset=$(awk -v f="$from" 'BEGIN { printf "%.3f", f }')   # the show's schedule starts at 0 s
  local sound=()
  [ -f "$music" ] && sound=(-ss "$offset" -i "$music" -map 0:v -map 1:a -c:a aac -shortest)
  [ -f "$music" ] || echo "distributed-capture.sh: no soundtrack at $music; the video is silent" >&2
  ffmpeg -y -loglevel error -framerate "$fps" -i "$out/frames/frame_%06d.png" "${sound[@]}" \
         -c:v libx264 -pix_fmt yuv420p "$video" || die "ffmpeg failed to make $video"
  echo "video: $video"
}

case "$mode" in
  plan) plan ;;
  worker) [[ "$part" =~ ^[0-9]+$ ]] || die "--worker needs a part number from 0, not '$part'" 2
          [ -x "$program" ] || die "no program at $program (--program PATH)"
          capture_part "$part" ;;
  join) join_parts ;;
  all)
    [ -x "$program" ] || die "no program at $program (--program PATH)"
    plan >/dev/null
    pids=()
    while read -r i _; do capture_part "$i" & pids+=($!); done < <(plan)
    failed=0
    for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
    [ "$failed" -eq 0 ] || die "a part failed; the others are kept (rerun one with --worker I, then --join)"
    join_parts ;;
esac
