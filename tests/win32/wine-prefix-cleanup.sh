#!/usr/bin/env bash
# Ends the tests' wineserver and removes their Wine prefix.
set -uo pipefail
prefix=$1
WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1
rm -rf "$prefix"
echo "wine prefix removed: $prefix"
