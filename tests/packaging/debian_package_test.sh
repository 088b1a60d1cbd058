#!/usr/bin/env bash
# The Debian package: made by cpack, unpacked into a scratch root (as dpkg would install it), it holds
# the program, its resources, desktop entry, icon and manual page, names the packages of every library
# the program links, and the unpacked program plays the same frames as the build tree's without being
# told where its resources are.
#   debian_package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/capture_lib.sh"
build="$1" source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/pkg/*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "cpack made no .deb"
root="$work/root"
dpkg -x "$deb" "$root"

# Layout
[ -x "$root/usr/bin/orvo-show" ] || fail "no /usr/bin/orvo-show in the package"
for f in anthem.mp3 shaders data/demosynch.dat editor/button-play.png; do
  [ -e "$root/usr/share/orvo/resources/$f" ] || fail "resources/$f missing from the package"
done
leftovers=$(find "$root/usr/share/orvo/resources" -name '.*' -o -name '*--*!*.dat')
[ -z "$leftovers" ] || fail "build stamps or editor snapshots in the package: $leftovers"
desktop="$root/usr/share/applications/orvo-show.desktop"
grep -qx 'Exec=orvo-show' "$desktop" || fail "desktop entry does not start orvo-show"
grep -qx 'Icon=orvo-show' "$desktop" || fail "desktop entry names no icon"
icon="$root/usr/share/icons/hicolor/256x256/apps/orvo-show.png"
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] || fail "the icon is not a PNG"
[ "$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ')" = " 0 0 1 0 0 0 1 0" ] || fail "the icon is not 256 x 256"
man="$root/usr/share/man/man1/orvo-show.1.gz"
page=$(gzip -dc "$man") || fail "the manual page is not gzip"
grep -q '^\.TH ORVO-SHOW 1' <<<"$page" || fail "the manual page has no title line"
for option in $("$root/usr/bin/orvo-show" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p'); do
  grep -qF -- "${option//-/\\-}" <<<"$page" || fail "the manual page does not describe $option"
done

# Dependencies: every library the program loads belongs to a package the .deb depends on.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needed=()
for soname in $(readelf -d "$root/usr/bin/orvo-show" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  # awk reads to the end: leaving early would kill ldconfig with SIGPIPE, which pipefail turns into a
  # silent exit of this script.
  path=$(ldconfig -p | awk -v n="$soname" '$1 == n && /x86-64/ && !found { print $NF; found = 1 }')
  [ -n "$path" ] || fail "$soname is not installed here"
  needed+=("$path")
done
[ ${#needed[@]} -gt 0 ] || fail "readelf found no needed libraries"
while read -r path pkg; do
  [ "$pkg" != - ] || fail "no package owns $path"
  sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends" | grep -qxF "$pkg" || fail "$path comes from $pkg, which the package does not depend on"
done < <("$source_dir/scripts/base-packages.sh" --owners "${needed[@]}")

# The unpacked program finds its resources relative to itself, from any folder.
orvo_capture "$build/orvo-show" "$work/build-frames"
(cd "$work" && orvo_capture "$root/usr/bin/orvo-show" "$work/package-frames")
if grep -q "not found" "$work/package-frames.log"; then cat "$work/package-frames.log"; fail "the installed program missed its resources"; fi
same_frames "$work/build-frames" "$work/package-frames"
echo "PASS"
