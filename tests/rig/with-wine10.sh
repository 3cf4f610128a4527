#!/usr/bin/env bash
# with-wine10.sh NAME COMMAND...: with-wine.sh with Wine 10 from a Debian 13
# root (scripts/wine10-root.sh, made once). In a mount namespace of its own
# the root sees /proc, /sys, /dev, /tmp (the X display), this tree and the
# rig's folder at their own paths, and the wine, wineboot and wineserver
# found first on PATH run inside it; everything else (Xvfb, xdotool, the
# native tools) is the machine's. Needs root, for the mounts and chroot.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
root=$("$top/scripts/wine10-root.sh")
rig_root=${RIG_ROOT:-$(pwd)/build/rig}
mkdir -p "$rig_root"
export WINE10_ROOT=$root
RIG_ROOT=$(realpath "$rig_root")
export RIG_ROOT
export PATH="$here/wine10:$PATH"
exec unshare --mount --propagation private bash -c '
  set -euo pipefail
  for d in /proc /sys /dev /tmp "$1" "$RIG_ROOT"; do
    mkdir -p "$WINE10_ROOT$d"
    mount --rbind "$d" "$WINE10_ROOT$d"
  done
  shift
  exec "$0" "$@"
' "$here/with-wine.sh" "$top" "$@"
