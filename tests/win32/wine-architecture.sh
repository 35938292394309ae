#!/usr/bin/env bash
# Chooses, once per test run, how the Wine tests run the Windows programs:
#   win32  the 32-bit programs of build/win32 under 32-bit Wine, where this
#          machine runs a 32-bit program;
#   win64  else their 64-bit twins of build/win64 under wine64 with its own wineserver64;
#   none   where neither runs: the Wine tests then fail with the reason.
# DOCSHELF_WINE_ARCH=win32 or win64 forces either. DOCSHELF_NO_I386 (any value but
# 0), which keeps scripts/install-deps from 32-bit Wine, forces win64 unless
# DOCSHELF_WINE_ARCH says otherwise.
#
#   wine-architecture.sh <choice file> [<Wine's program folder>, /usr/lib/wine by default]
#
# Writes the choice as lines NAME=value (architecture, loader, server, reason)
# to the choice file, and prints them.
set -uo pipefail
choice=$1
wine_dir=${2:-/usr/lib/wine}

# Runs each Wine executable with --version, which execs it for real: a machine
# without 32-bit support fails here with "Exec format error". Says why on failure.
runs() {
  local program said
  for program in "$@"; do
    if [ ! -x "$program" ]; then
      echo "$program is not installed (scripts/install-deps installs it where 32-bit programs run)"
      return 1
    fi
    if ! said=$("$program" --version 2>&1 </dev/null); then
      echo "$program does not run here: $(echo "$said" | tail -n 1)"
      return 1
    fi
  done
}

loader32=$wine_dir/wine
server32=$wine_dir/wineserver32
loader64=$wine_dir/wine64
server64=$wine_dir/wineserver64

architecture=none
reason=
why32=$(runs "$loader32" "$server32") && can32=1 || can32=0
why64=$(runs "$loader64" "$server64") && can64=1 || can64=0

forced=${DOCSHELF_WINE_ARCH:-}
forced_by="DOCSHELF_WINE_ARCH=$forced"
if [ -z "$forced" ] && [ -n "${DOCSHELF_NO_I386:-}" ] && [ "$DOCSHELF_NO_I386" != 0 ]; then
  forced=win64 forced_by="DOCSHELF_NO_I386=$DOCSHELF_NO_I386"
fi

case $forced in
  win32)
    if [ $can32 = 1 ]; then architecture=win32 reason="forced by $forced_by"
    else reason="$forced_by forces 32-bit Wine, but $why32"; fi ;;
  win64)
    if [ $can64 = 1 ]; then architecture=win64 reason="forced by $forced_by"
    else reason="$forced_by forces wine64, but $why64"; fi ;;
  "")
    if [ $can32 = 1 ]; then architecture=win32 reason="this machine runs 32-bit programs"
    elif [ $can64 = 1 ]; then architecture=win64 reason="this machine runs no 32-bit Wine: $why32"
    else reason="neither Wine runs here: $why32; $why64"; fi ;;
  *)
    reason="DOCSHELF_WINE_ARCH=${DOCSHELF_WINE_ARCH} is neither win32 nor win64" ;;
esac

case $architecture in
  win32) loader=$loader32 server=$server32 ;;
  win64) loader=$loader64 server=$server64 ;;
  *) loader= server= ;;
esac

printf 'architecture=%s\nloader=%s\nserver=%s\nreason=%s\n' "$architecture" "$loader" "$server" "$reason" \
  | tee "$choice"
