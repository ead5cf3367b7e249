#!/usr/bin/env python3
"""The house rule for includes of the tree's own headers.

- A bare name ("x.h" or <x.h>) names a header in the includer's own folder; a header in any
  other folder is written with its path from an include root ("daqmx/daqmx.h").
- A target's internals (everything in its home folder outside its face) are included only
  from inside that home, or from tests and benchmarks, which are given them explicitly.

Usage: check_includes.py FILE...   (paths from the top of the repository)
Prints one line per finding and exits 1 when there is any."""
import os
import re
import subprocess
import sys
from typing import Dict, Iterator, List, Optional

# Each target's home folder and its face: what code outside the home may include.
HOMES: Dict[str, List[str]] = {
    "orvex": ["orvex/orvex.h"],
    "platform/daqmx": ["platform/daqmx/include"],
    "platform/host": ["platform/host/include"],
    "platform/uiruntime/text": ["platform/uiruntime/text/include"],
    "platform/uiruntime/diagnostics": ["platform/uiruntime/diagnostics/include"],
    "platform/uiruntime/panel": ["platform/uiruntime/panel/include"],
    "platform/simboard": ["platform/simboard/include"],
    "tools/orvex-cli": [],
    "tools/orvex-sim": [],
    "tools/orvex-scope": [],
    "tools/recording": ["tools/recording/include"],
    "zelbrin": [],
}
# Where a path after #include may start; the faces' spelling is the installed one.
ROOTS = (["orvex", "orvex/src", "tests", "bench"]
         + [face for faces in HOMES.values() for face in faces if not face.endswith(".h")]
         + [home for home in HOMES if home != "orvex"])
GRANTED = ("tests/", "bench/")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def home_of(path: str) -> Optional[str]:
    homes = [home for home in HOMES if path.startswith(home + "/")]
    return max(homes, key=len) if homes else None


def is_face(path: str, home: str) -> bool:
    return any(path == face or path.startswith(face + "/") for face in HOMES[home])


def resolve(includer: str, spelled: str) -> Optional[str]:
    local = os.path.normpath(os.path.join(os.path.dirname(includer), spelled))
    if os.path.isfile(local):
        return local
    # The includer's own home first, as its build looks there first.
    own = home_of(includer)
    for root in ([own] if own else []) + list(ROOTS):
        candidate = os.path.join(root, spelled)
        if os.path.isfile(candidate):
            return candidate
    return None


def headers_by_name() -> Dict[str, List[str]]:
    listed = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard",
                             "*.h"], capture_output=True, text=True, check=True).stdout.split()
    names: Dict[str, List[str]] = {}
    for header in listed:
        names.setdefault(os.path.basename(header), []).append(header)
    return names


HEADERS = headers_by_name()


def findings(path: str) -> Iterator[str]:
    with open(path, encoding="utf-8") as source:
        lines = source.read().split("\n")
    for number, line in enumerate(lines, 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        spelled = match.group(2)
        header = resolve(path, spelled)
        if header is None:
            elsewhere = HEADERS.get(spelled, []) if "/" not in spelled else []
            if elsewhere:
                folder = os.path.dirname(elsewhere[0])
                yield f"{path}:{number}: '{spelled}' is in {folder}/: write its path"
            continue  # a system or generated header
        same_folder = os.path.dirname(header) == os.path.dirname(path)
        if "/" not in spelled and not same_folder and header != "orvex/orvex.h":
            yield f"{path}:{number}: '{spelled}' is in {os.path.dirname(header)}/: write its path"
        home = home_of(header)
        if home is None or is_face(header, home):
            continue
        if path.startswith(home + "/") or path.startswith(GRANTED):
            continue
        yield f"{path}:{number}: '{spelled}' is an internal header of {home}/"


def main(paths: List[str]) -> int:
    found = [finding for path in paths for finding in findings(path)]
    for finding in found:
        print(finding)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
