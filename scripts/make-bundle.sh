#!/usr/bin/env bash
# make-bundle.sh BUILD_DIR [OUT_DIR]
# Makes the portable bundle orvo-show-VERSION-linux-x86_64.tar.gz (in OUT_DIR, default BUILD_DIR): the
# installed program and resources, every shared library it needs that a bare Debian system lacks, and a
# start script. The GL driver itself (Mesa's or a GPU vendor's libGLX_*/libEGL_* and DRI drivers) stays
# the machine's own: it belongs to the graphics card, and Mesa's software renderer alone would be
# several times the size of the rest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: make-bundle.sh BUILD_DIR [OUT_DIR]" >&2; exit 2; }
build="$(cd "$1" && pwd)"
out="${2:-$build}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "make-bundle.sh: $build/CMakeCache.txt names no project version" >&2; exit 1; }
name="orvo-show-$version-linux-x86_64"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
top="$work/$name"

cmake --install "$build" --prefix "$top" --strip >/dev/null
# Desktop integration is the package's business; the bundle runs from where it is unpacked.
rm -rf "$top/share/applications" "$top/share/icons"

# The libraries: everything ldd resolves for the program, and for libEGL (SDL opens it at run time for
# rendering without a display), except what the bare system already has.
declare -A base=()
while read -r p; do base[$p]=1; done < <("$here/base-packages.sh")
mkdir -p "$top/lib"
# awk reads to the end, so that ldconfig is never cut off by SIGPIPE under pipefail.
libegl="$(ldconfig -p | awk '$1 == "libEGL.so.1" && /x86-64/ && !found { print $NF; found = 1 }')"
[ -n "$libegl" ] && cp -L "$libegl" "$top/lib/libEGL.so.1"
declare -A soname_of=()
while read -r soname path; do soname_of[$path]="$soname"; done < <(
  for object in "$top/bin/orvo-show" ${libegl:+"$libegl"}; do
    ldd "$object" | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }'
  done | sort -u)
while read -r path pkg; do
  if [ "$pkg" = - ]; then
    echo "make-bundle.sh: no package owns $path; bundling it" >&2
  elif [ -n "${base[$pkg]:-}" ]; then
    continue
  fi
  cp -L "$path" "$top/lib/${soname_of[$path]}"
done < <("$here/base-packages.sh" --owners "${!soname_of[@]}")
missing=$(LD_LIBRARY_PATH="$top/lib" ldd "$top/bin/orvo-show" | grep "not found" || true)
[ -z "$missing" ] || { echo "make-bundle.sh: unresolved libraries: $missing" >&2; exit 1; }

cat > "$top/orvo-show" <<'SCRIPT'
#!/bin/sh
# Starts the bundled program with the bundled libraries; every argument goes to orvo-show (--help).
# Without a display, capture and benchmark render through EGL (SDL's offscreen driver).
here="$(dirname "$(readlink -f "$0")")"
LD_LIBRARY_PATH="$here/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export LD_LIBRARY_PATH
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  SDL_VIDEODRIVER=offscreen
  export SDL_VIDEODRIVER
fi
exec "$here/bin/orvo-show" "$@"
SCRIPT
chmod +x "$top/orvo-show"
cat > "$top/README.txt" <<TEXT
orvo-show $version for 64-bit Linux (glibc 2.36 or newer, as Debian 12).

  ./orvo-show                       plays the show (the setup dialog asks for the resolution)
  ./orvo-show --help                every option
  ./orvo-show --capture frames/ --from 40 --to 45    writes the frames as PNG pictures

The libraries the program needs are in lib/, except the machine's own OpenGL driver (on Debian:
apt-get install libgl1-mesa-dri libglx-mesa0 libegl-mesa0, or the GPU vendor's driver). Without a
display the start script renders through EGL, so capture and benchmark need no X server.
TEXT

tarball="$out/$name.tar.gz"
tar --sort=name --owner=0 --group=0 --numeric-owner --mtime='2000-01-01 00:00Z' \
    -C "$work" -cf - "$name" | gzip -9n > "$tarball"
echo "$tarball"
