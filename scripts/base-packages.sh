#!/usr/bin/env bash
# Prints the packages of a bare Debian system as this machine would make it (what debootstrap's minbase
# variant installs): every installed package of priority "required", and apt, closed over their
# installed Depends and Pre-Depends. The bundle carries every library outside this set.
set -euo pipefail

declare -A seen=()
mapfile -t queue < <(dpkg-query -W -f='${Package} ${Priority} ${db:Status-Abbrev}\n' |
                     awk '$2 == "required" && $3 ~ /^ii/ { print $1 }')
queue+=(apt)
while [ ${#queue[@]} -gt 0 ]; do
  p="${queue[0]}"
  queue=("${queue[@]:1}")
  [ -n "${seen[$p]:-}" ] && continue
  seen[$p]=1
  deps=$(dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "$p" 2>/dev/null || true)
  # "a (>= 1), b | c, d:any" -> a b d (the first of alternatives is the one a bare system has)
  for d in $(echo "$deps" | tr ',' '\n' | sed 's/([^)]*)//g; s/|.*//; s/:any//' | tr -d ' '); do
    [ -z "${seen[$d]:-}" ] && queue+=("$d")
  done
done
printf '%s\n' "${!seen[@]}" | sort
