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
unformatted=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  if ! "$format" --dry-run -Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf '%s\n' "${unformatted[@]}"
  echo "format-check: ${#unformatted[@]} of ${#files[@]} files are not formatted; run: $format -i FILE..."
  exit 1
fi
echo "format-check: all ${#files[@]} files formatted"
