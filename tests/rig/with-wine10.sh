#!/usr/bin/env bash
# with-wine10.sh NAME COMMAND...: with-wine.sh with Wine 10 from a Debian 13
# root (with-wine-root.sh 10).
exec "$(dirname "$0")/with-wine-root.sh" 10 "$@"
