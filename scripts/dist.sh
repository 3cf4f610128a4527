#!/usr/bin/env bash
# dist.sh [OUT]: the Windows release, into OUT (default build/dist):
#   falamci-VERSION-x64.msi   the 64-bit program and both voices
#   falamci-VERSION-x86.msi   the 32-bit program and voice
#   falamci-VERSION-portable.zip   the 32-bit program, run from its folder
# VERSION is the project's (CMakeLists.txt). Builds what it needs from the
# presets unless DIST_NATIVE, DIST_WIN32 and DIST_WIN64 name builds already
# made (the install tests do); DIST_VERSION packages another version (the
# upgrade test); DIST_ONLY="x64 x86 zip" picks what to make.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/build/dist}")
version=${DIST_VERSION:-$(sed -n 's/^project(falamci VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "dist: no version x.y.z found (got '$version')" >&2; exit 1; }
only=${DIST_ONLY:-x64 x86 zip}
wants() { [[ " $only " == *" $1 "* ]]; }
for tool in wixl wixl-heat zip; do
  command -v "$tool" >/dev/null || { echo "dist: $tool is missing (make deps installs it)" >&2; exit 1; }
done

native=${DIST_NATIVE:-} win32=${DIST_WIN32:-} win64=${DIST_WIN64:-}
if [ -z "$native$win32$win64" ]; then
  cd "$top"
  cmake --preset native >/dev/null && cmake --build --preset native --target voice
  for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target falamci mbrola vozsapi
  done
  native=$top/build/native win32=$top/build/win32 win64=$top/build/win64
fi
voice=$native/voice/drive_c/tarsis

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# stage DIR BUILD: the program folder as installed, with the build's
# program and voice and an ORALIS.INI whose paths are relative to it.
stage() {
  local dir=$1 build=$2
  mkdir -p "$dir/aureatts"
  cp "$build/console/falamci.exe" "$build/psola/mbrola.dll" "$dir/"
  cp -r "$voice/som" "$dir/"
  cp "$voice"/aureatts/br4 "$voice"/aureatts/portug.* "$build/sapivoice/vozsapi.dll" "$build/psola/mbrola.dll" \
    "$dir/aureatts/"
  # C:\tarsis becomes "@": the folder falamci starts in, wherever it lies.
  sed -e 's/^\([A-Z]*=\)C:\\tarsis/\1@/' "$top/voices/ORALIS.INI" >"$dir/ORALIS.INI"
  if grep -qi 'c:\\tarsis' "$dir/ORALIS.INI"; then
    echo "dist: ORALIS.INI still names C:\\tarsis" >&2
    exit 1
  fi
}

# heat GROUP DIRREF VAR FOLDER FILES...: a fragment declaring FILES (paths
# relative to the current directory, beginning with FOLDER/) under the
# directory DIRREF, in component group GROUP.
heat() {
  local group=$1 ref=$2 var=$3 folder=$4
  shift 4
  (printf '%s\n' "$@" | wixl-heat -p "$folder/" --directory-ref "$ref" --component-group "$group" \
    --var "var.$var" --win64) >"$work/$group.wxs"
}

msi() {  # msi ARCH BUILD
  local arch=$1 build=$2 dir=$work/stage-$1 heats=()
  stage "$dir" "$build"
  local win64=no
  if [ "$arch" = x64 ]; then
    win64=yes
    mkdir -p "$dir/aureatts/x86"
    cp "$voice"/aureatts/br4 "$voice"/aureatts/portug.* "$win32/sapivoice/vozsapi.dll" "$win32/psola/mbrola.dll" \
      "$dir/aureatts/x86/"
    (cd "$dir" && heat VoiceData32 AUREATTSX86DIR VoiceData32 aureatts/x86 aureatts/x86/br4 aureatts/x86/portug.*)
    heats+=("$work/VoiceData32.wxs")
  fi
  (cd "$dir" && heat Recordings INSTALLDIR Recordings . $(find ./som -type f | LC_ALL=C sort))
  (cd "$dir" && heat VoiceData AUREATTSDIR VoiceData aureatts aureatts/br4 aureatts/portug.*)
  # The 32-bit voice's data is 32-bit whatever the package, and its ids
  # (made from the file names, the same as the other copy's) get a prefix.
  if [ "$arch" = x64 ]; then
    sed -i -e 's/Win64="\$(var.Win64)"/Win64="no"/' -e 's/Id="\(cmp\|fil\|dir\)/Id="x86\1/' "$work/VoiceData32.wxs"
  fi
  # wixl takes the files' sources relative to where it runs.
  (cd "$dir" && wixl -a "$arch" -I "$top/packaging" -D Version="$version" -D Arch="$arch" -D Stage=. -D Win64="$win64" \
    -D Recordings=. -D VoiceData=aureatts -D VoiceData32=aureatts/x86 \
    -o "$out/falamci-$version-$arch.msi" "$top/packaging/falamci.wxs" "$work/Recordings.wxs" "$work/VoiceData.wxs" \
    "${heats[@]}")
  echo "dist: $out/falamci-$version-$arch.msi"
}

if wants x64; then msi x64 "$win64"; fi
if wants x86; then msi x86 "$win32"; fi
if wants zip; then
  dir=$work/zip/falamci-$version
  stage "$dir" "$win32"
  rm -f "$out/falamci-$version-portable.zip"
  (cd "$work/zip" && zip -q -r -X "$out/falamci-$version-portable.zip" "falamci-$version")
  echo "dist: $out/falamci-$version-portable.zip"
fi
