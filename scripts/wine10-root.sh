#!/usr/bin/env bash
# wine10-root.sh: prints the folder of a Debian 13 root with Wine 10, making
# it first with mmdebstrap from Debian's own packages (a few minutes, about
# 2 GB) unless one made from the same package list is already there. The
# root lives outside the build folders (FALAMCI_WINE10_ROOT, default in the
# user's cache) so that clean builds reuse it. Fails with one line saying why.
set -euo pipefail
root=${FALAMCI_WINE10_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/falamci/wine10-root}
packages="wine,wine32:i386,wine64,libasound2t64:i386,libasound2t64"
stamp=$root/.falamci-packages

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$packages" ] && [ -x "$root/usr/bin/wine" ]; then
  echo "$root"
  exit 0
fi
command -v mmdebstrap >/dev/null || { echo "wine10-root: mmdebstrap is not installed" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "wine10-root: making the root needs root" >&2; exit 1; }

# The machine's own Debian mirror, from its apt sources.
mirror=$(grep -hoE '^URIs: *[^ ]+' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1 | sed -E 's/^URIs: *//')
[ -n "$mirror" ] || mirror=$(grep -hoE '^deb +[^ ]+' /etc/apt/sources.list 2>/dev/null | head -n 1 | sed -E 's/^deb +//')
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian

rm -rf "$root"
mkdir -p "$(dirname "$root")"
log=$(mktemp)
if ! mmdebstrap --variant=apt --architectures=amd64,i386 --include="$packages" trixie "$root" "$mirror" >"$log" 2>&1; then
  echo "wine10-root: mmdebstrap could not make the Debian 13 root from $mirror: $(tail -n 1 "$log")" >&2
  rm -f "$log"
  rm -rf "$root"
  exit 1
fi
rm -f "$log"
echo "$packages" >"$stamp"
echo "$root"
