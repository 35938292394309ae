#!/usr/bin/env bash
# Makes a fresh Wine prefix for the Windows programs' tests and starts the
# wineserver that serves every test of the run until wine-prefix-cleanup.sh.
# Wine's services keep inherited handles open, so all of its output goes to the log.
set -euo pipefail
prefix=$1
log=$2

export WINEPREFIX=$prefix WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY LC_ALL
export LANG=en_US.UTF-8

if [ -d "$prefix" ]; then
  wineserver -k </dev/null >/dev/null 2>&1 || true
  rm -rf "$prefix"
fi
mkdir -p "$prefix"
: > "$log"

wineserver -p </dev/null >>"$log" 2>&1
# The first start of a prefix installs it, which takes a while.
timeout 600 wineboot -i </dev/null >>"$log" 2>&1
# No window is ever wanted, and CI has no display.
timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
echo "wine prefix ready: $prefix"
