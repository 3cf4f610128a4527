#!/usr/bin/env bash
# with-wine-root.sh 8|10 NAME COMMAND...: with-wine.sh with the Wine of a
# Debian root (scripts/wine-root.sh, made once): 10 for Wine 10, 8 for
# 32-bit Wine 8 where the machine's own apt could not install it. In a mount
# namespace of its own the root sees /proc, /sys, /dev, /tmp (the X
# display), this tree and the rig's folder at their own paths, and the rig's
# Wine commands run inside it; everything else (Xvfb, xdotool, the native
# tools) is the machine's. Needs root, for the mounts and chroot.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
version=$1
shift
root=$("$top/scripts/wine-root.sh" "$version")
rig_root=${RIG_ROOT:-$(pwd)/build/rig}
mkdir -p "$rig_root"
export WINE_ROOT=$root
RIG_ROOT=$(realpath "$rig_root")
export RIG_ROOT
exec unshare --mount --propagation private bash -c '
  set -euo pipefail
  for d in /proc /sys /dev /tmp "$1" "$RIG_ROOT"; do
    mkdir -p "$WINE_ROOT$d"
    mount --rbind "$d" "$WINE_ROOT$d"
  done
  shift
  exec "$0" "$@"
' "$here/with-wine.sh" "$top" "$@"
