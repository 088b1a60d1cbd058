#!/usr/bin/env bash
# Prints the packages of a bare Debian system as this machine would make it (what debootstrap's minbase
# variant installs): every installed package of priority "required", and apt, closed over their
# installed Depends and Pre-Depends. The bundle carries every library outside this set.
#   base-packages.sh               the package names, one a line
#   base-packages.sh --owners FILE...  one line "FILE PACKAGE" for each file (a library as ldd names it):
#                                      the package that installed it, or "-"
set -euo pipefail

# With /lib merged into /usr/lib, ldd and dpkg may name the same file through either. One search over
# dpkg's file lists answers for all files at once (dpkg -S per file takes seconds on a busy machine).
if [ "${1:-}" = --owners ]; then
  shift
  declare -A owner=()
  variants() { local f="$1" real; real="$(readlink -f "$f")"; printf '%s\n' "$f" "$real" "/usr$f" "${f#/usr}" "/usr$real" "${real#/usr}"; }
  # grep prints "/var/lib/dpkg/info/PACKAGE[:ARCH].list:PATH"
  while read -r line; do
    list="${line%%.list:*}"
    owner[${line#*.list:}]="${list##*/}"
  done < <(for f in "$@"; do variants "$f"; done | sort -u |
           grep -xF -f - /var/lib/dpkg/info/*.list 2>/dev/null || true)
  for f in "$@"; do
    found=-
    while read -r v; do
      [ -n "${owner[$v]:-}" ] && { found="${owner[$v]%%:*}"; break; }
    done < <(variants "$f")
    echo "$f $found"
  done
  exit 0
fi

# One query for every installed package, then the closure in awk.
dpkg-query -W -f='${Package}\t${Priority}\t${db:Status-Abbrev}\t${Depends}, ${Pre-Depends}\n' | awk -F'\t' '
  $3 ~ /^ii/ {
    # "a (>= 1), b | c, d:any" -> a b d (of alternatives, the first is the one a bare system has)
    n = split($4, parts, ",")
    list = ""
    for (i = 1; i <= n; i++) {
      d = parts[i]
      sub(/\|.*/, "", d); gsub(/\([^)]*\)/, "", d); sub(/:any/, "", d); gsub(/ /, "", d)
      if (d != "") list = list " " d
    }
    deps[$1] = list
    if ($2 == "required") queue[++tail] = $1
  }
  END {
    queue[++tail] = "apt"
    for (head = 1; head <= tail; head++) {
      p = queue[head]
      if (p in seen) continue
      seen[p] = 1
      m = split(deps[p], ds, " ")
      for (j = 1; j <= m; j++) if (!(ds[j] in seen)) queue[++tail] = ds[j]
    }
    for (p in seen) print p
  }' | sort
