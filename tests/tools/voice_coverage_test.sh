#!/usr/bin/env bash
# voice_coverage_test.sh TOOL VOICE_DIR PERCENT: the default voice speaks at
# least PERCENT of the words of Debian's Brazilian word list whole.
set -euo pipefail
tool=$1 voice=$2 goal=$3
list=/usr/share/dict/brazilian
[ -f "$list" ] || { echo "FAIL: $list is missing (package wbrazilian)" >&2; exit 1; }
report=$("$tool" coverage --ini "$voice/drive_c/windows/ORALIS.INI" --drive-c "$voice/drive_c" --top 10 "$list")
echo "$report"
share=$(echo "$report" | sed -nE 's/^spoken whole: [0-9]+ \(([0-9.]+)%\)$/\1/p')
awk -v s="$share" -v g="$goal" 'BEGIN { exit !(s >= g) }' || { echo "FAIL: $share% is under $goal%" >&2; exit 1; }
