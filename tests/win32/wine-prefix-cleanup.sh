#!/usr/bin/env bash
# Ends the tests' wineserver and removes their Wine prefix.
#   wine-prefix-cleanup.sh <prefix> <choice file>
set -uo pipefail
prefix=$1
server=$(sed -n 's/^server=//p' "$2")
[ -n "$server" ] && WINEPREFIX=$prefix "$server" -k </dev/null >/dev/null 2>&1
rm -rf "$prefix"
echo "wine prefix removed: $prefix"
