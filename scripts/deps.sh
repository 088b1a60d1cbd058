#!/usr/bin/env bash
# The Debian packages the project needs, in two lists: what builds and plays the show (run.sh), and what
# the tests, fuzzers and benchmarks add (test.sh). Sourced by run.sh and test.sh; installs only what is
# missing, so a ready machine makes no apt call.
set -euo pipefail

ORVO_SHOW_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libglew-dev libgl1-mesa-dri libegl-mesa0
  libdevil-dev libpng-dev libjpeg-dev libmpg123-dev libkissfft-dev libmp3lame-dev lame
  libfreetype-dev fonts-dejavu-core
  libassimp-dev inotify-tools  # orvo-scene import; the rebuild loop of ./run.sh --edit
)
ORVO_TEST_PACKAGES=(
  clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool glslang-tools python3-mido
)
# Kept for callers that want the whole set at once.
ORVO_PACKAGES=("${ORVO_SHOW_PACKAGES[@]}" "${ORVO_TEST_PACKAGES[@]}")

# Prints each named package that is not installed.
orvo_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

# orvo_install_deps [PACKAGE ...]: installs the missing ones of the named packages (default: all).
orvo_install_deps() {
  local wanted=("$@")
  [ ${#wanted[@]} -eq 0 ] && wanted=("${ORVO_PACKAGES[@]}")
  local missing
  missing=$(orvo_missing_packages "${wanted[@]}" | tr '\n' ' ')
  [ -z "${missing// /}" ] && return 0
  echo "Installing missing packages: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "error: need root or sudo to install: $missing" >&2; return 1; }
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

orvo_cache_value() {  # orvo_cache_value BUILD_DIR NAME: the value of a CMake cache entry, or nothing
  sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt" 2>/dev/null
}

# orvo_configure ROOT show|all: configures build/ once. "show" leaves the tests, fuzzers and benchmarks
# out (their packages need not be installed); "all" turns them on, also in a tree "show" configured.
orvo_configure() {
  local root="$1" what="$2" build="$1/build"
  local gen=() parts=()
  command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
  if [ "$what" = all ]; then
    parts=(-DORVO_TESTS=ON -DORVO_BENCH=ON -DORVO_FUZZ=ON)
  else
    parts=(-DORVO_TESTS=OFF -DORVO_BENCH=OFF -DORVO_FUZZ=OFF)
  fi
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${parts[@]}"
  elif [ "$what" = all ] && [ "$(orvo_cache_value "$build" ORVO_TESTS)" = OFF ]; then
    cmake -S "$root" -B "$build" "${parts[@]}"
  fi
}

# orvo_build ROOT [TARGET ...]: builds the named targets into build/ (default: everything). The show's
# targets also lay out build/resources/.
orvo_build() {
  local root="$1"; shift
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$root/build" -j "$(nproc)" "${targets[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  orvo_install_deps
fi
