"""The simulated board in virtual time, with a journal, for every test of the package.

ctest names the library (ORVEX_LIBRARY) and the simulated board (ORVEX_DRIVER); the
board reads its bench file and opens its journal when it is loaded, so both are named
here, before any test loads it."""

import os
import subprocess
import sys
import tempfile
from pathlib import Path
from typing import Iterator, List

import pytest

os.environ["ORVEX_SIM_BENCH"] = str(Path(__file__).with_name("stand.json"))
os.environ.setdefault("ORVEX_SIM_JOURNAL",
                      os.path.join(tempfile.mkdtemp(prefix="orvex-journal-"), "journal.log"))

import orvex  # noqa: E402
from orvex import simboard  # noqa: E402


@pytest.fixture
def board() -> Iterator[orvex.Board]:
    simboard.reset()
    with orvex.Board() as opened:
        yield opened


class Journal:
    """The journal lines written since the journal was marked."""

    def __init__(self) -> None:
        self.mark()

    def mark(self) -> None:
        self._start = len(simboard.journal())

    def lines(self, entry_point: str = "") -> List[str]:
        return [line for line in simboard.journal()[self._start:] if line.startswith(entry_point)]


@pytest.fixture
def journal() -> Journal:
    return Journal()


def run_python(code: str, **environment: str) -> "subprocess.CompletedProcess[str]":
    """Runs code in a new interpreter on the same library and board."""
    return subprocess.run([sys.executable, "-c", code], env={**os.environ, **environment},
                          capture_output=True, text=True, timeout=60, check=False)
