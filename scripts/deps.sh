#!/usr/bin/env bash
# The one list of Debian packages the project needs to build, generate its resources and run its tests.
# Sourced by run.sh and test.sh; installs only what is missing, so a ready machine makes no apt call.
set -euo pipefail

ORVO_PACKAGES=(
  cmake ninja-build g++ pkg-config clang libclang-rt-dev
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libglew-dev libgl1-mesa-dri
  libdevil-dev libpng-dev libjpeg-dev libmpg123-dev libkissfft-dev libmp3lame-dev lame
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool glslang-tools python3-mido
)

orvo_missing_packages() {
  local p
  for p in "${ORVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

orvo_install_deps() {
  local missing
  missing=$(orvo_missing_packages | tr '\n' ' ')
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

# Configure (once) and build everything into build/, which also lays out build/resources/.
orvo_build() {
  local root="$1"; shift
  local gen=()
  command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
  if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$root/build" -j "$(nproc)"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  orvo_install_deps
fi
