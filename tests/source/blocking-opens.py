#!/usr/bin/env python3
"""Lists every line of the programs' and tools' sources that opens a file other
than through RegularFile, the reader that neither blocks on a pipe nor reads
past its limit, so that a new blocking stream cannot slip in unseen. Exits 1
when there is one.

  blocking-opens.py ROOT
"""
import pathlib
import re
import sys

OPENING = re.compile(
    r"std::ifstream|std::fstream|\bfopen\(|(^|[^\w.>])open\(|Fl_Shared_Image::get"
    # Objective-C++: the Foundation and AppKit calls that read a path themselves.
    r"|ContentsOfFile:|ContentsOfURL:|initByReferencingFile:|imageNamed:")
FOLDERS = ("docshelf", "tools")
SOURCES = {".cpp", ".h", ".mm"}
ALLOWED = {
    "docshelf/platform/foundation/RegularFile.cpp",  # the reader itself
    "docshelf/platform/foundation/BoundedRun.cpp",  # a child's /dev/null
    "tools/press/FileTree.cpp",  # copies files, opened non-blocking and checked
    "docshelf/platform/fltk/WindowPicture.cpp",  # writes render's pictures
    "tools/press/TreeComparison.cpp",  # streams whole documents to compare
    "tools/press/InitCommand.cpp",  # writes the lists it makes
}


def found(root):
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            relative = path.relative_to(root).as_posix()
            if path.suffix not in SOURCES or "/tests/" in relative or relative in ALLOWED:
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                if OPENING.search(line.split("//")[0]):
                    yield f"{relative}:{number}: {line.strip()}"


def main():
    lines = list(found(pathlib.Path(sys.argv[1])))
    for line in lines:
        print(line)
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main())
