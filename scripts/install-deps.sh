#!/usr/bin/env bash
# Installs what the build, the tests and the run need, from Debian's
# packages, when something is missing. Safe to run again: it does nothing
# when everything is there. The i386 architecture and 32-bit Wine are added
# only where the machine runs 32-bit code (scripts/runs-32bit.sh).
#
# Only what apt has verified is installed: when an index fails its check
# against the suite's signed release (a mirror caught mid-sync), this stops
# with one line naming it. Lists are never written by hand and signature
# checks never relaxed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake ninja-build g++ make ccache
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xauth xdotool xclip imagemagick
  espeak-ng sox wbrazilian libespeak-ng-dev
  clang-14 libclang-rt-14-dev
  mmdebstrap
)
with_32bit=false
if "$here/runs-32bit.sh" >/dev/null; then
  with_32bit=true
  packages+=(wine32:i386)
fi

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
if $with_32bit && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# A mirror caught in a sync fails the update now and then; try again, then
# give up rather than install from an index apt could not verify.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for attempt in 1 2 3; do
  if $sudo apt-get update -q >"$log" 2>&1 && ! grep -qE '^(E: |W: Failed to fetch|Err:)' "$log"; then
    break
  fi
  if [ "$attempt" -eq 3 ]; then
    failed=$(grep -m 1 -oE 'Failed to fetch [^ ]+' "$log" | sed 's/^Failed to fetch //' || true)
    reason=$(grep -m 1 -oE 'Failed to fetch [^ ]+ +.*' "$log" | sed -E 's/^Failed to fetch [^ ]+ +//' || true)
    [ -n "$reason" ] || reason=$(grep -m 1 -E '^E: ' "$log" | sed -E 's/^E: //' || true)
    echo "install-deps: the package index ${failed:-of the mirror} failed apt's verification (${reason:-apt-get update failed}); nothing was installed, retry later." >&2
    exit 1
  fi
  echo "apt-get update failed (attempt $attempt of 3); trying again" >&2
  sleep $((attempt * 10))
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
