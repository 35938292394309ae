#!/bin/bash
# Installs the build into a temporary prefix and uses the tools from there, as a
# disc author would after `cmake --install`: each check below names itself when
# it fails.
#   installed-tools-test.sh BUILD SOURCE WITH_WINDOWS_PROGRAMS(ON|OFF)
set -u
build=$1 source=$2 windows=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL [$1]: $2"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" --strip >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL [install]: cmake --install failed"; exit 1; }

# [installed files] every tool, its data, the manual pages, completion and copyright.
expected=(bin/docshelf-inspect bin/docshelf-press lib/docshelf/docshelf-inspect-render
          lib/docshelf/Docshelf.app/Contents/Info.plist lib/docshelf/Docshelf.app/Contents/MacOS/Docshelf
          lib/docshelf/Docshelf.app/Contents/Resources/MainMenu.plist
          share/docshelf/CDCommonMessage.bundle/Contents/Resources/English.lproj share/docshelf/languages.csv
          share/man/man1/docshelf-inspect.1.gz share/man/man1/docshelf-press.1.gz
          share/bash-completion/completions/docshelf-inspect share/bash-completion/completions/docshelf-press
          share/doc/docshelf-tools/copyright share/doc/docshelf-tools/changelog.gz)
[[ $windows == ON ]] && expected+=(share/docshelf/win32/Startwick.exe share/docshelf/win32/Vendpost.exe)
for file in "${expected[@]}"; do
    [[ -e $prefix/$file ]] || fail "installed files" "$file is not installed"
done

# [no X for check] the program that runs check, catalogue, lookup and window
# links no X, FLTK or font library; the drawing program does, so the pattern
# is seen to match where those libraries are.
desktop='libX11|libXft|libfltk|libfontconfig|libharfbuzz|libfribidi'
if ldd "$prefix/bin/docshelf-inspect" | grep -E "$desktop"; then
    fail "no X for check" "docshelf-inspect links the libraries above"
fi
ldd "$prefix/lib/docshelf/docshelf-inspect-render" | grep -qE "$desktop" ||
    fail "no X for check" "docshelf-inspect-render links none of $desktop, so the pattern proves nothing"

# [no build paths] nothing in the installed programs names the build or the source tree.
for program in bin/docshelf-inspect bin/docshelf-press lib/docshelf/docshelf-inspect-render; do
    if grep -qaF -e "$build" -e "$source" "$prefix/$program"; then
        fail "no build paths" "$program holds a path of the build or the source tree"
    fi
done

# [version anywhere] and [help after a command]
for line in "docshelf-inspect --version" "docshelf-inspect check --version" "docshelf-press --version" \
            "docshelf-press image --version"; do
    read -r -a words <<<"$line"
    out=$("$prefix/bin/${words[0]}" "${words[@]:1}" 2>&1) && [[ $out == "${words[0]} "[0-9]* ]] ||
        fail "version anywhere" "$line printed '$out'"
done
for line in "docshelf-press init --help" "docshelf-press image -h" "docshelf-inspect render --help"; do
    read -r -a words <<<"$line"
    out=$("$prefix/bin/${words[0]}" "${words[@]:1}" 2>&1) && [[ $out == usage:* ]] ||
        fail "help after a command" "$line printed '${out%%$'\n'*}'"
done

# [bundle from the prefix] a disc folder without a bundle is read with the installed one.
"$prefix/bin/docshelf-inspect" check "$source/sample-disc/ZORVANE" >"$work/check.out" 2>"$work/check.err"
status=$?
grep -qF "came with the inspector, $prefix/lib/docshelf/Docshelf.app" "$work/check.err" && ((status < 2)) ||
    fail "bundle from the prefix" "check exited $status: $(cat "$work/check.err")"

# [render through the inspector] the inspector hands render to the installed
# drawing program, which, without a display, says so.
env -u DISPLAY "$prefix/bin/docshelf-inspect" render "$source/sample-disc/ZORVANE" --out "$work/pictures" \
    >/dev/null 2>"$work/render.err"
grep -q "render draws the window on a display" "$work/render.err" ||
    fail "render through the inspector" "$(cat "$work/render.err")"

# [press with its defaults] init takes the installed bundle, message template and Windows programs.
if [[ $windows == ON ]]; then
    env -u DISPLAY "$prefix/bin/docshelf-press" init --models - --manuals "$source/sample-disc/ZORVANE/Documentation" \
        --documentation Manuals --setup ReadMe.txt --windows-file "$source/sample-disc/ZORVANE/Windows/ReadMe.txt" \
        --out "$work/discs/ZORVANE" <"$source/sample-disc/models.csv" >"$work/press.out" 2>&1
    status=$?
    [[ $status -le 1 && -x $work/discs/ZORVANE/Docshelf.app/Contents/MacOS/Docshelf &&
       -f $work/discs/ZORVANE/Windows/setup.exe ]] ||
        fail "press with its defaults" "init exited $status: $(cat "$work/press.out")"
    # [press an image] image checks with the installed inspector beside the press.
    if command -v xorriso >/dev/null && [[ -d $work/discs/ZORVANE ]]; then
        "$prefix/bin/docshelf-press" image "$work/discs/ZORVANE" >"$work/image.out" 2>&1
        status=$?
        [[ $status -le 1 && -s $work/discs/ZORVANE.iso ]] ||
            fail "press an image" "image exited $status: $(cat "$work/image.out")"
    fi
fi

# [manual pages] man reads both without a warning.
for page in docshelf-inspect docshelf-press; do
    warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "manual pages" "$page: $warnings"
done

# [completion] the installed script completes a command's options and a format.
completions=$(bash -c 'source "$1"
    COMP_WORDS=(docshelf-inspect check --for); COMP_CWORD=2; _docshelf_inspect; echo "${COMPREPLY[*]}"
    COMP_WORDS=(docshelf-press init --mod); COMP_CWORD=2; _docshelf_press; echo "${COMPREPLY[*]}"
    COMP_WORDS=(docshelf-inspect check --format s); COMP_CWORD=3; _docshelf_inspect; echo "${COMPREPLY[*]}"' \
    _ "$prefix/share/bash-completion/completions/docshelf-inspect")
[[ $completions == $'--format\n--models\nsarif' ]] || fail "completion" "completed '$completions'"

((failures == 0))
