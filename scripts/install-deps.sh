#!/usr/bin/env bash
# Installs what the build, the tests and the run need, from Debian's
# packages, when something is missing. Safe to run again: it does nothing
# when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth xdotool xclip imagemagick
  espeak-ng sox wbrazilian libespeak-ng-dev
  clang-14 libclang-rt-14-dev
  mmdebstrap
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo: the packages above are missing." >&2; exit 1; }
  sudo=sudo
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
