#!/usr/bin/env bash
# Runs the install script's decision function on a table of machines, and the Wine
# tests' architecture choice on a fake Wine that runs both loaders.
#   install-plan-test.sh <scripts/install-deps> <tests/win32/wine-architecture.sh>
set -uo pipefail
source "$1"
choose_wine=$2
failures=0
fail() {
  echo "FAIL [$case]: $*"
  failures=$((failures + 1))
}
# "yes" when the plan has the line.
has() {
  grep -qx "$1" <<<"$plan" && echo yes || echo no
}

# Never in the demo's set: Windows, sanitizers, fuzzing, benchmarks, the tests' tools.
test_only='wine|mingw|clang|gtest|gmock|benchmark|gnustep|gobjc|xorriso|7zip|locales'
demo=$(install_plan demo no "")

# case                        set   runs32 NO_I386 | i386 wine32 wine  gtest mingw disc
rows=(
  "demo_on_a_32bit_machine    demo  yes    -         no   no     none  no    no    no"
  "demo_forced_no_i386        demo  yes    1         no   no     none  no    no    no"
  "press_has_the_disc_tools   press yes    -         no   no     none  no    yes   yes"
  "test_on_a_32bit_machine    test  yes    -         yes  yes    win32 yes   yes   yes"
  "test_without_32bit         test  no     -         no   no     win64 yes   yes   yes"
  "test_forced_no_i386        test  yes    1         no   no     win64 yes   yes   yes"
  "test_no_i386_0_is_unset    test  yes    0         yes  yes    win32 yes   yes   yes"
)
for row in "${rows[@]}"; do
  read -r case set runs32 no_i386 i386 wine32 wine gtest mingw disc <<<"$row"
  [ "$no_i386" = - ] && no_i386=""
  if ! plan=$(install_plan "$set" "$runs32" "$no_i386"); then
    fail "install_plan failed"
    continue
  fi
  [ "$(has "i386 $i386")" = yes ] || fail "expected i386 $i386"
  [ "$(has "optional wine32:i386")" = "$wine32" ] || fail "expected wine32 optional: $wine32"
  grep -q "^need .*i386" <<<"$plan" && fail "an i386 package is needed"
  [ "$(grep '^wine ' <<<"$plan" | cut -d' ' -f2)" = "$wine" ] || fail "expected wine $wine"
  [ "$(has "need libgtest-dev")" = "$gtest" ] || fail "expected GoogleTest: $gtest"
  [ "$(has "need g++-mingw-w64-i686")$(has "need binutils-mingw-w64-x86-64")" = "$mingw$mingw" ] ||
    fail "expected mingw-w64: $mingw"
  [ "$(has "need xorriso")$(has "need 7zip")" = "$disc$disc" ] || fail "expected disc tools: $disc"
  if [ "$set" = demo ] && grep -E "^need .*($test_only)" <<<"$plan"; then
    fail "the demo needs a test-only package"
  fi
  missing_demo=$(comm -23 <(sort <<<"$demo" | grep '^need') <(sort <<<"$plan"))
  [ -z "$missing_demo" ] || fail "lacks the demo's $missing_demo"
  twice=$(sort <<<"$plan" | uniq -d)
  [ -z "$twice" ] || fail "lists twice: $twice"
done
case=unknown_set
install_plan disc yes "" >/dev/null && fail "an unknown set was planned"

# DOCSHELF_NO_I386 takes the Wine tests to the 64-bit twins, as it keeps 32-bit Wine
# from being installed; DOCSHELF_WINE_ARCH still wins.
wine_dir=$(mktemp -d)
trap 'rm -rf "$wine_dir"' EXIT
for program in wine wineserver32 wine64 wineserver64; do
  printf '#!/bin/sh\necho wine-8.0\n' >"$wine_dir/$program"
  chmod +x "$wine_dir/$program"
done
# case                      NO_I386 WINE_ARCH  architecture
rows=(
  "both_run                 -       -          win32"
  "no_i386_takes_the_twins  1       -          win64"
  "no_i386_0_is_unset       0       -          win32"
  "wine_arch_wins           1       win32      win32"
)
for row in "${rows[@]}"; do
  read -r case no_i386 wine_arch expected <<<"$row"
  [ "$no_i386" = - ] && no_i386=""
  [ "$wine_arch" = - ] && wine_arch=""
  DOCSHELF_NO_I386=$no_i386 DOCSHELF_WINE_ARCH=$wine_arch "$choose_wine" "$wine_dir/choice" "$wine_dir" >/dev/null
  chosen=$(sed -n 's/^architecture=//p' "$wine_dir/choice")
  [ "$chosen" = "$expected" ] || fail "expected $expected, chose $chosen ($(grep reason= "$wine_dir/choice"))"
done

[ $failures = 0 ] && echo "all cases pass"
exit $((failures > 0))
