#!/bin/bash
# Makes the Debian package with cpack and runs lintian on it: no error may be
# reported. The package must hold both tools.
#   deb-package-test.sh BUILD
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL [cpack]: no package made"; exit 1; }
package=$(echo "$work"/docshelf-tools_*.deb)
[[ -f $package ]] || { echo "FAIL [cpack]: no docshelf-tools_*.deb in $work"; exit 1; }
contents=$(dpkg-deb -c "$package")
for file in ./usr/bin/docshelf-inspect ./usr/bin/docshelf-press ./usr/share/doc/docshelf-tools/copyright; do
    grep -qF " $file" <<<"$contents" || { echo "FAIL [contents]: $file is not in the package"; exit 1; }
done
lintian --fail-on error --tag-display-limit 0 "$package" || { echo "FAIL [lintian]: errors above"; exit 1; }
