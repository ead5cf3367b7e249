"""Smoke test of the installed package: run with the package and the libraries unpacked
from their Debian packages, and ORVEX_DRIVER naming the simulated board.  Checks that
they come from the unpacked tree, that the board answers, and that a scan is recorded
and read back."""

import sys
import tempfile

import numpy as np

import orvex
from orvex import recording, simboard

root = sys.argv[1]
assert orvex.__file__.startswith(root), orvex.__file__


def loaded_from_root(name: str) -> set[str]:
    with open("/proc/self/maps", encoding="utf-8") as maps:
        loaded = {line.split()[-1] for line in maps if name in line}
    assert loaded and all(path.startswith(root) for path in loaded), loaded
    return loaded


loaded = loaded_from_root("liborvex.so")

with orvex.Board() as board:
    board.port(2).mask = 0xFF
    board.port(2).write(0x05)
    assert board.port(2).read() == 0x05
    simboard.set_analog_input(5, 1.25)
    assert np.all(board.ai(5).acquire(1000.0, 10) == 1.25)
    try:
        board.ai(8).read()
    except orvex.CheckError as error:
        assert error.code == -1 and "line 395" in error.text
    with tempfile.TemporaryDirectory() as folder:
        [path] = recording.record_scan(board, [5], rate=1000.0, seconds=0.5, directory=folder)
        loaded_from_root("liborvex_recording.so")
        assert np.all(recording.read(path).samples == 1.25)
print(f"orvex {orvex.library_version()} from {sorted(loaded)[0]}: smoke test passed")
