#!/bin/sh
# Builds each program of this folder against GNUstep into the folder given
# (default: the current one). Run a program on an X display and compare with
# what its opening comment says a Mac does.
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-.}
mkdir -p "$out"
for source in "$here"/*.m; do
    name=$(basename "$source" .m)
    # shellcheck disable=SC2046
    gcc -std=gnu11 $(gnustep-config --objc-flags) -w "$source" -o "$out/$name" $(gnustep-config --gui-libs)
    echo "$out/$name"
done
