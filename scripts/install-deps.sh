#!/usr/bin/env bash
# Installs what the build, the tests and the run need, from Debian's
# packages, when something is missing. Safe to run again: it does nothing
# when everything is there. The i386 architecture and 32-bit Wine are added
# only where the machine runs 32-bit code (scripts/runs-32bit.sh).
#
# Only what apt has verified is installed: when an index fails its check
# against the suite's signed release (a mirror caught mid-sync), this stops
# with one line naming it. Lists are never written by hand and signature
# checks never relaxed. Where only the i386 index fails, the 64-bit packages
# are in and 32-bit Wine is left out; the tests then run the 32-bit build
# under Wine 8 from a Debian root made from signed indexes (wine-root.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake ninja-build g++ make ccache
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xauth xdotool xclip imagemagick x11-xserver-utils
  espeak-ng sox wbrazilian libespeak-ng-dev
  clang-14 libclang-rt-14-dev
  mmdebstrap
  wixl msitools zip unzip
)

missing() {  # missing PACKAGE...: prints those not installed
  local p status
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || echo "$p"
  done
}

sudo=""
need_root() {
  [ "$(id -u)" -eq 0 ] && return 0
  command -v sudo >/dev/null || { echo "Run as root or install sudo: packages are missing." >&2; exit 1; }
  sudo=sudo
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# update ATTEMPTS: apt-get update until every index verifies; otherwise
# prints the one line naming the index that failed and returns 1.
update() {
  local attempt failed reason
  for attempt in $(seq 1 "$1"); do
    if $sudo apt-get update -q >"$log" 2>&1 && ! grep -qE '^(E: |W: Failed to fetch|Err:)' "$log"; then
      return 0
    fi
    if [ "$attempt" -lt "$1" ]; then
      echo "apt-get update failed (attempt $attempt of $1); trying again" >&2
      sleep $((attempt * 10))
    fi
  done
  failed=$(grep -m 1 -oE 'Failed to fetch [^ ]+' "$log" | sed 's/^Failed to fetch //' || true)
  reason=$(grep -m 1 -oE 'Failed to fetch [^ ]+ +.*' "$log" | sed -E 's/^Failed to fetch [^ ]+ +//' || true)
  [ -n "$reason" ] || reason=$(grep -m 1 -E '^E: ' "$log" | sed -E 's/^E: //' || true)
  echo "install-deps: the package index ${failed:-of the mirror} failed apt's verification (${reason:-apt-get update failed}); nothing was installed from it, retry later." >&2
  return 1
}

install() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@"
}

mapfile -t wanted < <(missing "${packages[@]}")
if [ ${#wanted[@]} -gt 0 ]; then
  echo "Installing: ${wanted[*]}"
  need_root
  # A mirror caught in a sync fails the update now and then: try again.
  update 3 || exit 1
  install "${wanted[@]}"
fi

# 32-bit Wine, only where 32-bit code runs. One try: without it the tests
# still run the 32-bit build, under Wine 8 from a Debian root.
if "$here/runs-32bit.sh" >/dev/null && [ -n "$(missing wine32:i386)" ]; then
  echo "Installing: wine32:i386"
  need_root
  added=false
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    added=true
  fi
  if update 1 && install wine32:i386; then
    exit 0
  fi
  echo "install-deps: 32-bit Wine is not installed; the 32-bit build runs under Wine 8 from a Debian root instead." >&2
  # An architecture whose index fails would fail every later update: it
  # goes again while no i386 package depends on it.
  if $added && [ -z "$(dpkg-query -W -f='${Package}:${Architecture}\n' 2>/dev/null | grep ':i386$' || true)" ]; then
    $sudo dpkg --remove-architecture i386
    $sudo apt-get update -q >/dev/null 2>&1 || true
  fi
fi
exit 0
