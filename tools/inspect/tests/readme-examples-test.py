#!/usr/bin/env python3
"""Runs the README's inspector examples and compares what they print with what
the README shows:

- every docshelf-inspect command in the sh blocks of "Inspecting a disc" and
  "The window" runs on the sample disc, exits 0 and prints JSON; a json block
  after a sh block shows lines that the output of that block's last command
  holds, in that order;
- the findings shown under "Checking a disc" are the lines that check prints
  for the sample disc with those four faults made in a copy of it;
- every code the README names is known to --explain.

  readme-examples-test.py README BUILD [WINDOWS_PROGRAMS]

Without the folder of the built Windows programs, the findings in the Windows
folder are left out (the check knows a setup launcher by its resources).
"""
import json
import pathlib
import plistlib
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

README, BUILD = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2]).resolve()
WINDOWS_PROGRAMS = pathlib.Path(sys.argv[3]) if len(sys.argv) > 3 else None
if WINDOWS_PROGRAMS and not (WINDOWS_PROGRAMS / "Startwick.exe").is_file():
    print(f"note: no Startwick.exe in {WINDOWS_PROGRAMS}; the Windows folder's findings are not compared")
    WINDOWS_PROGRAMS = None
ROOT = README.parent
INSPECTOR = BUILD / "tools" / "docshelf-inspect"
failures = []


def fail(case, message):
    failures.append(f"FAIL [{case}]: {message}")


def sections(text):
    """{heading: body} for every ## and ### heading."""
    found = {}
    parts = re.split(r"^#{2,3} (.+)$", text, flags=re.M)
    for heading, body in zip(parts[1::2], parts[2::2]):
        found[heading.strip()] = body
    return found


def blocks(body):
    """[(language, text)] of the fenced blocks, in order."""
    return re.findall(r"^```(\w*)\n(.*?)^```", body, flags=re.M | re.S)


def run(arguments):
    return subprocess.run(arguments, cwd=ROOT, capture_output=True, text=True,
                          env={"PATH": "/usr/bin:/bin", "LANG": "C.UTF-8"})


def examples(case, body):
    last_output = None
    for language, text in blocks(body):
        if language == "sh":
            for command in text.replace("\\\n", " ").splitlines():
                words = shlex.split(command)
                if not words or words[0] != "build/tools/docshelf-inspect":
                    continue
                words = [str(BUILD / w[len("build/"):]) if w.startswith("build/") else w for w in words]
                result = run(words)
                if result.returncode != 0:
                    fail(case, f"{command} exited {result.returncode}: {result.stderr}")
                    continue
                try:
                    json.loads(result.stdout)
                except ValueError:
                    fail(case, f"{command} printed no JSON: {result.stdout[:200]}")
                last_output = result.stdout
        elif language == "json":
            if last_output is None:
                fail(case, "a json block with no example before it")
                continue
            shown = [line.strip().replace("<build>", str(BUILD)) for line in text.splitlines() if line.strip()]
            printed = [line.strip() for line in last_output.splitlines()]
            at = 0
            for line in shown:
                try:
                    at = printed.index(line, at) + 1
                except ValueError:
                    fail(case, f"the README shows {line!r}, which the example does not print in that order")
                    break


def faulty_disc(folder):
    """The sample disc with the four faults of the README's findings."""
    disc = folder / "ZORVANE"
    shutil.copytree(ROOT / "sample-disc" / "ZORVANE", disc)
    model_info = disc / "MacResources" / "ModelInfo.plist"
    text = model_info.read_text()
    record = "\t\t<key>RT-20</key>\n\t\t<dict>\n"
    kpsid = record + "\t\t\t<key>KPSID</key>\n\t\t\t<string>RT20</string>\n"
    assert kpsid in text, "the sample disc's RT-20 record changed; update this test"
    model_info.write_text(text.replace(kpsid, record))
    (disc / "Documentation" / "Manuals" / "German").rename(disc / "Documentation" / "Manuals" / "Deutsh")
    strings = disc / "MacResources/CDCommonMessage.bundle/Contents/Resources/fr.lproj/Localizable.strings"
    table = plistlib.loads(strings.read_bytes())
    del table["UG_BTN_README"]
    strings.write_bytes(plistlib.dumps(table, fmt=plistlib.FMT_BINARY))
    ini = disc / "Windows" / "inst.ini"
    ini.write_text(ini.read_text().replace("Exeprog=ReadMe.txt", "Exeprog=Setup\\setup.exe"))
    if WINDOWS_PROGRAMS:
        shutil.copyfile(WINDOWS_PROGRAMS / "Startwick.exe", disc / "Windows" / "Setup.exe")
    return disc


def findings(case, body):
    shown = [line for language, text in blocks(body) if language == "text" for line in text.splitlines()
             if line.startswith("/discs/ZORVANE/") and (WINDOWS_PROGRAMS or "/Windows/" not in line)]
    if not shown:
        fail(case, "no findings shown")
        return
    with tempfile.TemporaryDirectory() as folder:
        disc = faulty_disc(pathlib.Path(folder))
        result = run([str(INSPECTOR), "check", str(disc)])
        printed = result.stdout.replace(str(disc), "/discs/ZORVANE").splitlines()
    for line in shown:
        if line not in printed:
            fail(case, f"the README shows\n  {line}\ncheck prints\n  " + "\n  ".join(printed))


def codes(case, text):
    named = set(re.findall(r"^\| `([a-z]+(?:-[a-z]+)+)` \| \[", text, flags=re.M))
    for language, block in blocks(text):
        if language == "text":
            named |= set(re.findall(r" \[([a-z]+(?:-[a-z]+)+)\]$", block, flags=re.M))
    if len(named) < 10:
        fail(case, f"only {len(named)} codes found in the README")
    for code in sorted(named):
        result = run([str(INSPECTOR), "--explain", code])
        if result.returncode != 0:
            fail(case, f"--explain {code} exited {result.returncode}: {result.stderr.strip()}")


def main():
    text = README.read_text()
    found = sections(text)
    for heading in ("Inspecting a disc", "The window"):
        examples(heading, found.get(heading, ""))
    findings("Checking a disc", found.get("Checking a disc", ""))
    codes("codes", text)
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
