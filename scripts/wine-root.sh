#!/usr/bin/env bash
# wine-root.sh 8|10: prints the folder of a Debian root holding that Wine
# (8: Debian 12, for 32-bit Wine where the machine's own apt cannot install
# it; 10: Debian 13, where SpVoice speaks), making it first with mmdebstrap
# from Debian's own signed packages (a few minutes, about 2 GB) unless one
# made from the same package list is already there. It holds the i386
# architecture only where the machine runs 32-bit code. The root lives
# outside the build folders (FALAMCI_WINE8_ROOT or FALAMCI_WINE10_ROOT,
# default in the user's cache) so that clean builds reuse it. Fails with one
# line saying why.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
version=${1:?wine-root.sh 8|10}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/falamci
case $version in
  8) suite=bookworm root=${FALAMCI_WINE8_ROOT:-$cache/wine8-root} asound=libasound2 ;;
  10) suite=trixie root=${FALAMCI_WINE10_ROOT:-$cache/wine10-root} asound=libasound2t64 ;;
  *) echo "wine-root: no Wine $version here (8 or 10)" >&2; exit 1 ;;
esac
packages="wine,wine64,fonts-wine,$asound"
architectures=amd64
if "$here/runs-32bit.sh" >/dev/null; then
  packages="$packages,wine32:i386,$asound:i386"
  architectures=amd64,i386
fi
stamp=$root/.falamci-packages
# The root is removed and made again below: never the file system's root or
# a home folder, whatever the variables say.
case $(realpath -m "$root") in
  / | "$(realpath -m "$HOME")" | "$(realpath -m ~root 2>/dev/null || echo /root)")
    echo "wine-root: refusing $root as the Wine $version root" >&2
    exit 1 ;;
esac
# One maker at a time: a second caller waits, then finds the root made.
mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9

# A root made with i386 serves a run that switched 32-bit code off as well.
if [ -f "$stamp" ] && [ -x "$root/usr/lib/wine/wine64" ]; then
  made=$(cat "$stamp")
  case ",$made," in
    ",$packages,"|",$packages,wine32:i386,$asound:i386,") echo "$root"; exit 0 ;;
  esac
fi
command -v mmdebstrap >/dev/null || { echo "wine-root: mmdebstrap is not installed" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "wine-root: making the Wine $version root needs root" >&2; exit 1; }

# The machine's own Debian mirror, from its apt sources.
mirror=$(grep -hoE '^URIs: *[^ ]+' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1 | sed -E 's/^URIs: *//')
[ -n "$mirror" ] || mirror=$(grep -hoE '^deb +[^ ]+' /etc/apt/sources.list 2>/dev/null | head -n 1 | sed -E 's/^deb +//')
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian

# Only a root this script made (its stamp) or an empty folder is removed;
# anything else at that path is someone's and is left alone.
if [ -e "$root" ] && [ ! -f "$stamp" ] && [ -n "$(ls -A "$root" 2>/dev/null)" ]; then
  echo "wine-root: $root holds files but is not a root this script made; move it away or set FALAMCI_WINE${version}_ROOT" >&2
  exit 1
fi
rm -rf "$root"
log=$(mktemp)
if ! mmdebstrap --variant=apt --architectures="$architectures" --include="$packages" "$suite" "$root" "$mirror" >"$log" 2>&1; then
  echo "wine-root: mmdebstrap could not make the Wine $version root ($suite, $architectures) from $mirror: $(grep -E '^(E|W): ' "$log" | tail -n 1 || tail -n 1 "$log")" >&2
  rm -f "$log"
  rm -rf "$root"
  exit 1
fi
rm -f "$log"
echo "$packages" >"$stamp"
# Made through sudo: the root belongs to the user who asked, who can then
# remove it without root.
if [ -n "${SUDO_UID:-}" ] && [ -n "${SUDO_GID:-}" ]; then
  chown -R "$SUDO_UID:$SUDO_GID" "$root" "$root.lock"
fi
echo "$root"
