#!/usr/bin/env bash
# Whether every C++, Objective-C++ and Objective-C source of the repository is
# formatted as its .clang-format says: names the files that are not, and how to
# format them, and exits 1. Run from any folder; SOURCE is the repository.
set -uo pipefail
source=${1:?usage: format-check.sh SOURCE [CLANG_FORMAT]}
format=${2:-clang-format-14}
cd "$source" || exit 2
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.mm' '*.m')
else
  mapfile -t files < <(find . -path ./build -prune -o -path './build-*' -prune -o \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.mm' -o -name '*.m' \) -print | sed 's|^\./||' | sort)
fi
# One clang-format for all files: it names each line it would change as
# "FILE:LINE:COLUMN: error: code should be clang-formatted".
mapfile -t unformatted < <(printf '%s\0' "${files[@]}" | xargs -0 -r "$format" --dry-run -Werror 2>&1 |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
  printf '%s\n' "${unformatted[@]}"
  echo "format-check: ${#unformatted[@]} of ${#files[@]} files are not formatted; run: $format -i FILE..."
  exit 1
fi
echo "format-check: all ${#files[@]} files formatted"
