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
# A mirror caught in a sync fails the update now and then; try again.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
updated=false
for attempt in 1 2 3; do
  if $sudo apt-get update -q 2>&1 | tee "$log" && ! grep -q '^E: ' "$log"; then
    updated=true
    break
  fi
  echo "apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep $((attempt * 10))
done
# A mirror can go on serving an index that its signed release no longer
# names (seen with bookworm-security's i386 list for days). apt then keeps
# no list for it, and wine32's i386 libraries cannot match their amd64
# twins. As a last resort the index the mirror serves is taken as the list,
# with a warning: its packages are still the archive's own.
if ! $updated; then
  grep -o 'Failed to fetch http://[^ ]*Packages\.xz  File has unexpected size' "$log" |
    sed 's/^Failed to fetch //; s/  File has.*//' | sort -u | while read -r url; do
      list="/var/lib/apt/lists/$(echo "${url#http://}" | sed 's/\.xz$//; s,/,_,g')"
      echo "WARNING: using the unsigned index the mirror serves at $url" >&2
      curl -fsS "$url" | xz -d | $sudo tee "$list" >/dev/null || echo "could not fetch $url" >&2
    done || true
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
