"""Smoke test of the installed package: run with the package and the library unpacked
from their Debian packages, and ORVEX_DRIVER naming the simulated board.  Checks that
both come from the unpacked tree and that the board answers."""

import sys

import numpy as np

import orvex
from orvex import simboard

root = sys.argv[1]
assert orvex.__file__.startswith(root), orvex.__file__
with open("/proc/self/maps", encoding="utf-8") as maps:
    loaded = {line.split()[-1] for line in maps if "liborvex.so" in line}
assert loaded and all(path.startswith(root) for path in loaded), loaded

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
print(f"orvex {orvex.library_version()} from {sorted(loaded)[0]}: smoke test passed")
