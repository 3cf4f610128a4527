#!/usr/bin/env bash
# msi_install_test.sh ARCH NATIVE_BUILD WIN32_BUILD WIN64_BUILD SAPI_TESTS.exe:
# the ARCH (x64 or x86) package from scripts/dist.sh, installed, used and
# removed by Windows Installer in a fresh Wine prefix of its bitness
# (msi_install_session.sh). A package of a lower version goes in first, so
# the install is also an upgrade. With SAPI_TESTS32 (the x64 package, under
# a Wine whose 64-bit prefix runs 32-bit programs) a 32-bit client hears the
# 32-bit voice too, and falamci is not started (the other run starts it).
# INSTALL_RIG names the rig (default with-wine.sh; with-wine10.sh).
set -euo pipefail
# Exits 77 (skipped) when the x64 package cannot be made: it needs the
# 32-bit build's voice, and the 32-bit build is missing.
arch=$1 native=$(realpath "$2") win32=$(realpath -m "$3") win64=$(realpath -m "$4") tests=$(realpath "$5")
tests32=${6:+$(realpath -m "$6")}
rig=${INSTALL_RIG:-with-wine.sh}
if [ -n "$tests32" ]; then
  if ! why=$("$(dirname "$0")/../../scripts/runs-32bit.sh"); then echo "skipped: $why"; exit 77; fi
  [ -f "$tests32" ] || { echo "skipped: the 32-bit build has no $(basename "$tests32")"; exit 77; }
fi
for f in sapivoice/vozsapi.dll psola/mbrola.dll; do
  [ -f "$win32/$f" ] || { echo "skipped: the 32-bit build has no $f, which the $arch package holds"; exit 77; }
done
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
name=install-$arch${INSTALL_RIG:+-${rig%.sh}}
work=${RIG_ROOT:-$(pwd)/build/rig}/$name-dist
rm -rf "$work"
mkdir -p "$work"
export DIST_NATIVE=$native DIST_WIN32=$win32 DIST_WIN64=$win64 DIST_ONLY=$arch
DIST_VERSION=0.9.0 "$top/scripts/dist.sh" "$work/old" >/dev/null
"$top/scripts/dist.sh" "$work" >/dev/null
package=$(ls "$work"/falamci-*-"$arch".msi)
# What the package holds, as Windows Installer should lay it out.
msiextract -C "$work/extracted" "$package" >/dev/null

text="Entre comando MCI. Bom dia!"
"$native/tradutor" speak --out "$work/reference.wav" "$text"
printf '%s' "$text" >"$work/text.txt"
ini=$native/voice/drive_c/windows/ORALIS.INI
"$native/tradutor" say --ini "$ini" --drive-c "$native/voice/drive_c" --out "$work/prompt.wav" "Entre comando MCI"
"$native/tradutor" say --ini "$ini" --drive-c "$native/voice/drive_c" --out "$work/retorno.wav" "retorno"

if [ "$arch" = x64 ]; then export RIG_BITS=64; else export RIG_BITS=32; fi
export RIG_CAPTURE=append
exec "$here/../rig/$rig" "$name" "$here/msi_install_session.sh" "$arch" "$work" "$package" \
  "$(ls "$work"/old/falamci-*.msi)" "$tests" "$native/tools/voicetool" "$tests32"
