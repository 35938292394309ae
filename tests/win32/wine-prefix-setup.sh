#!/usr/bin/env bash
# Makes a fresh Wine prefix for the Windows programs' tests, of the architecture
# that wine-architecture.sh chose for this run, and starts the wineserver that
# serves every test of the run until wine-prefix-cleanup.sh.
# Wine's services keep inherited handles open, so all of its output goes to the log.
#   wine-prefix-setup.sh <prefix> <log> <choice file>
set -euo pipefail
prefix=$1
log=$2
choice=$3

architecture= loader= server= reason=
while IFS='=' read -r name value; do
  case $name in
    architecture) architecture=$value ;;
    loader) loader=$value ;;
    server) server=$value ;;
    reason) reason=$value ;;
  esac
done < "$choice"

case $architecture in
  win32) programs="the 32-bit programs of build/win32 under 32-bit Wine" ;;
  win64) programs="the 64-bit twins of build/win64 under wine64" ;;
  *)
    echo "Wine cannot run the Windows programs' tests here: $reason" >&2
    exit 1 ;;
esac
echo "wine architecture: $architecture, $programs ($reason)"

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=$architecture WINELOADER=$loader WINESERVER=$server
unset DISPLAY WAYLAND_DISPLAY LC_ALL
export LANG=en_US.UTF-8

if [ -d "$prefix" ]; then
  # The last run's server may be of the other architecture.
  for old in "$(dirname "$server")"/wineserver32 "$(dirname "$server")"/wineserver64; do
    [ -x "$old" ] && "$old" -k </dev/null >/dev/null 2>&1 || true
  done
  rm -rf "$prefix"
fi
mkdir -p "$prefix"
trap 'echo "making the Wine prefix failed, see $log" >&2' ERR
{ echo "wine architecture: $architecture ($reason)"; echo "loader $loader, server $server"; } > "$log"

"$server" -p </dev/null >>"$log" 2>&1
# The first start of a prefix installs it, which takes a while.
timeout 600 "$loader" wineboot -i </dev/null >>"$log" 2>&1
# No window is ever wanted, and CI has no display.
timeout 120 "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
echo "wine prefix ready: $prefix"
