"""Opening and closing the board: the driver, the release of every task, the exit."""

import re
import textwrap
from typing import Callable

import numpy as np
import pytest

import orvex
from orvex import simboard
from conftest import Journal, run_python

LIBRARY_NOT_LOADED = ("Unable to load NI-DAQmx dynamic link library NICAIU.DLL.\n\n"
                      "Ensure that NI-DAQmx is installed on your machine.\n")


def created_and_cleared(lines: list[str]) -> tuple[set[str], set[str]]:
    created = {m.group(1) for line in lines
               for m in [re.search(r"^DAQmxCreateTask\(.*taskHandle=(\w+)\) = 0", line)] if m}
    cleared = {m.group(1) for line in lines
               for m in [re.search(r"^DAQmxClearTask\(task=(\w+)\) = 0", line)] if m}
    return created, cleared


def test_close_at_context_exit_releases_every_task_and_stops_what_runs(journal: Journal) -> None:
    simboard.reset()
    with orvex.Board() as board:
        for mask in (0x00, 0xFF, 0x0F):
            board.port(0).mask = mask
        board.port(1).mask = 0
        board.port(2).mask = 0x01
        board.ao(1).write(1.0)
        board.ao(0).generate(np.linspace(-1.0, 1.0, 50), 1000.0)
        stream = board.ai(0).stream(1000.0, 10)
        next(stream)
        assert orvex.capi.orvex_analogFetchStatus() == 1
    assert board.closed and not stream.running
    created, cleared = created_and_cleared(journal.lines())
    assert len(created) >= 7 and created == cleared
    assert orvex.capi.orvex_analogFetchStatus() == 0
    with pytest.raises(ValueError, match="closed"):
        board.port(0).read()
    board.close()  # closing again does nothing


def test_tasks_are_released_at_interpreter_exit() -> None:
    code = textwrap.dedent("""
        import orvex, orvex.simboard
        board = orvex.Board()
        board.port(2).mask = 0xFF
        board.ai(3).read()
    """)
    start = len(simboard.journal())
    done = run_python(code)
    assert done.returncode == 0, done.stderr
    created, cleared = created_and_cleared(simboard.journal()[start:])
    assert len(created) == 2 and created == cleared


def test_a_missing_driver_library_fails_at_open_with_the_loader_code_and_text() -> None:
    code = textwrap.dedent("""
        import orvex
        try:
            orvex.Board(driver="/nonexistent/libno_driver.so")
        except orvex.Error as error:
            print(error.code, error.function)
            print(error.text, end="")
    """)
    done = run_python(code)
    assert done.returncode == 0, done.stderr
    first, text = done.stdout.split("\n", 1)
    assert first == "-200397 orvex_driverLoad"
    assert text == LIBRARY_NOT_LOADED


def test_another_driver_once_one_is_loaded_is_refused(board: orvex.Board) -> None:
    assert orvex.driver_library() == board_driver()
    with pytest.raises(ValueError, match="loaded already"):
        orvex.Board(driver="/elsewhere/libother.so")
    orvex.Board(driver=board_driver()).close()


def board_driver() -> str:
    import os
    return os.environ["ORVEX_DRIVER"]


def test_versions_and_arguments_of_the_board() -> None:
    assert orvex.library_version() == orvex.__version__
    with pytest.raises(TypeError):
        orvex.Board(slot="2")  # type: ignore[arg-type]
    with pytest.raises(ValueError):
        orvex.Board(slot=2**40)


@pytest.mark.parametrize("make", [
    lambda b: b, lambda b: b.port(0), lambda b: b.line(0, 1), lambda b: b.ai(0),
    lambda b: b.ao(0), lambda b: b.ai(0).stream(1000.0, 10),
])
def test_a_misspelt_attribute_raises_instead_of_being_set(
        board: orvex.Board, make: Callable[[orvex.Board], object]) -> None:
    with pytest.raises(AttributeError):
        make(board).vaule = 1  # type: ignore[attr-defined]
