#!/usr/bin/env bash
# The portable bundle: under 64 MiB, and once unpacked everything the program links resolves either to
# the bundle's lib/ or to a library of a bare Debian system (the base packages), nothing else; its start
# script, with the environment cleared, plays the same frames as the build tree.
# (An ldd check rather than a chroot: a debootstrap'ed system would take longer than the suite allows.)
#   bundle_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/capture_lib.sh"
build="$1" source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

tarball=$("$source_dir/scripts/make-bundle.sh" "$build" "$work" 2>"$work/make.log" | tail -n1) ||
  { cat "$work/make.log"; fail "make-bundle.sh failed"; }
case "$(basename "$tarball")" in
  orvo-show-*-linux-x86_64.tar.gz) ;;
  *) fail "unexpected bundle name $tarball" ;;
esac
size=$(stat -c %s "$tarball")
echo "bundle: $(basename "$tarball") $((size / 1024)) KiB"
[ "$size" -lt $((64 * 1024 * 1024)) ] || fail "the bundle is $size bytes, over 64 MiB"

mkdir "$work/unpacked"
tar -xzf "$tarball" -C "$work/unpacked"
top="$work/unpacked/$(basename "$tarball" .tar.gz)"
[ -x "$top/orvo-show" ] && [ -x "$top/bin/orvo-show" ] || fail "no start script or program in $top"
[ -f "$top/share/orvo/resources/anthem.mp3" ] || fail "no resources in the bundle"

# Every library resolved for the program and for each bundled library, with the bundle first on the
# library path, is the bundle's own or one a bare system has.
declare -A base=()
while read -r p; do base[$p]=1; done < <("$source_dir/scripts/base-packages.sh")
resolved=()
for object in "$top/bin/orvo-show" "$top"/lib/*.so*; do
  out=$(LD_LIBRARY_PATH="$top/lib" ldd "$object")
  ! grep -q "not found" <<<"$out" || fail "$(basename "$object") has unresolved libraries: $(grep "not found" <<<"$out")"
  mapfile -t -O ${#resolved[@]} resolved < <(awk -v top="$top/lib/" '$2 == "=>" && $3 ~ /^\// && index($3, top) != 1 { print $3 }' <<<"$out")
done
mapfile -t resolved < <(printf '%s\n' "${resolved[@]}" | sort -u)
checked=0
while read -r path pkg; do
  [ -n "${base[$pkg]:-}" ] || fail "$path ($pkg) is loaded, but a bare system lacks it and the bundle does not carry it"
  checked=$((checked + 1))
done < <("$source_dir/scripts/base-packages.sh" --owners "${resolved[@]}")
[ "$checked" -gt 0 ] || fail "ldd named no system library at all"
echo "system libraries, all of the bare system: $checked; bundled libraries: $(ls "$top/lib" | wc -l)"

# The start script with nothing in the environment (no DISPLAY, no library path, no driver choice).
orvo_capture "$build/orvo-show" "$work/build-frames"
mkdir -p "$work/bundle-frames"
(cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work" "$top/orvo-show" --capture "$work/bundle-frames" \
   "${ORVO_TEST_SPAN[@]}" >"$work/bundle.log" 2>&1) || { cat "$work/bundle.log"; fail "the bundle's capture failed"; }
same_frames "$work/build-frames" "$work/bundle-frames"
echo "PASS"
