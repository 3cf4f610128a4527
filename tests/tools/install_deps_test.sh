#!/usr/bin/env bash
# install_deps_test.sh INSTALL_DEPS: scripts/install-deps.sh against stand-in
# dpkg, dpkg-query and apt-get, on machines with and without 32-bit code and
# mirrors whose indexes verify or fail: it installs only after every index
# it needs verified, adds i386 and wine32 only where 32-bit code runs, and
# stops with one line naming the index that failed.
set -uo pipefail
script=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $case: $*" >&2; failures=$((failures + 1)); }

bad_i386=http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz
bad_amd64=http://deb.debian.org/debian/dists/bookworm/main/binary-amd64/Packages.xz
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
# dpkg-query -W -f=FORMAT [PACKAGE]: installed packages are lines of
# $STATE/installed; a line "*" stands for every package.
package=$3
if [ -z "$package" ]; then sed 's/$/:amd64/; s/:i386:amd64$/:i386/' "$STATE/installed"; exit 0; fi
grep -qx -e "$package" -e '\*' "$STATE/installed" && printf 'install ok installed' || exit 1
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
case $1 in
  --print-foreign-architectures) cat "$STATE/architectures" ;;
  --add-architecture) echo "$2" >>"$STATE/architectures"; echo "add-architecture $2" >>"$STATE/calls" ;;
  --remove-architecture) sed -i "/^$2\$/d" "$STATE/architectures"; echo "remove-architecture $2" >>"$STATE/calls" ;;
esac
EOF
cat >"$work/bin/apt-get" <<EOF
#!/bin/sh
# update fails, as apt words it, for the index in \$BAD_INDEX (an i386 one
# only while the i386 architecture is there).
if [ "\$1" = update ]; then
  echo update >>"\$STATE/calls"
  case \$BAD_INDEX in
    *i386*) grep -qx i386 "\$STATE/architectures" || exit 0 ;;
    '') exit 0 ;;
  esac
  echo "Err:5 \$BAD_INDEX"
  echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
  echo "E: Failed to fetch \$BAD_INDEX  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
  exit 100
fi
shift 4  # install -y -q --no-install-recommends
echo "install \$*" >>"\$STATE/calls"
for p in "\$@"; do echo "\$p" >>"\$STATE/installed"; done
EOF
# Nothing is fetched past apt and no list written by hand: a download or a
# tee is recorded and refused.
for fetcher in curl wget tee; do printf '#!/bin/sh\necho %s >>"$STATE/calls"\nexit 1\n' $fetcher >"$work/bin/$fetcher"; done
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
printf '#!/bin/sh\n' >"$work/bin/sleep"
chmod +x "$work/bin"/*

# run CASE RUNS_32BIT BAD_INDEX [INSTALLED...]: the script, beside a probe
# that answers RUNS_32BIT, with the packages INSTALLED; sets rc, err, calls.
run() {
  case=$1
  local runs=$2
  export BAD_INDEX=$3 STATE=$work/$case
  shift 3
  mkdir -p "$STATE/scripts"
  cp "$script" "$STATE/scripts/install-deps.sh"
  if [ "$runs" = yes ]; then printf '#!/bin/sh\nexit 0\n'; else printf '#!/bin/sh\necho no 32-bit\nexit 1\n'; fi \
    >"$STATE/scripts/runs-32bit.sh"
  chmod +x "$STATE/scripts"/*.sh
  printf '%s\n' "$@" >"$STATE/installed"
  : >"$STATE/architectures"
  : >"$STATE/calls"
  err=$(PATH="$work/bin:$PATH" "$STATE/scripts/install-deps.sh" 2>&1 >/dev/null)
  rc=$?
  calls=$(cat "$STATE/calls")
}
expect() {  # expect WHAT PATTERN: the calls hold PATTERN
  echo "$calls" | grep -qE "$2" || fail "$1: no call matching '$2' in: $(echo "$calls" | tr '\n' ';')"
}
refuse() {  # refuse WHAT PATTERN: no call holds PATTERN
  ! echo "$calls" | grep -qE "$2" || fail "$1: a call matched '$2': $(echo "$calls" | tr '\n' ';')"
}

run "64-bit, good mirror" no ""
[ $rc -eq 0 ] || fail "ended with $rc"
expect "the 64-bit compiler and Wine" '^install .*g\+\+-mingw-w64-x86-64.* wine64 '
refuse "no i386 at all" 'i386'

run "64-bit, an index fails" no "$bad_amd64"
[ $rc -eq 1 ] || fail "ended with $rc, expected 1"
[ "$(echo "$calls" | grep -c '^update$')" -eq 3 ] || fail "updated $(echo "$calls" | grep -c '^update$') times, expected 3"
refuse "nothing installed, nothing fetched by hand" '^(install|curl|wget|tee)'
line=$(echo "$err" | grep -v 'trying again')
[ "$(echo "$line" | wc -l)" -eq 1 ] || fail "said: $err"
echo "$line" | grep -qF "$bad_amd64" || fail "the line does not name the index: $line"
echo "$line" | grep -q "retry later" || fail "the line does not say to retry: $line"

run "32-bit, the i386 index fails" yes "$bad_i386"
[ $rc -eq 0 ] || fail "ended with $rc: the 64-bit levels can still run"
expect "the 64-bit packages" '^install .*wine64'
refuse "no wine32" '^install .*wine32'
expect "i386 tried" '^add-architecture i386$'
expect "i386 removed again, so later updates still verify" '^remove-architecture i386$'
echo "$err" | grep -qF "$bad_i386" || fail "the failing i386 index is not named: $err"

run "32-bit, good mirror" yes ""
[ $rc -eq 0 ] || fail "ended with $rc"
expect "wine32 installed" '^install wine32:i386$'
refuse "i386 kept" 'remove-architecture'

run "all there" yes "$bad_amd64" '*'
[ $rc -eq 0 ] && [ -z "$calls" ] || fail "ended with $rc after: $(echo "$calls" | tr '\n' ';')"

[ $failures -eq 0 ] || exit 1
echo "install-deps: verified installs on both kinds of machine, and one line for a failing index"
