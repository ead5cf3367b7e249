"""Statuses as exceptions and warnings, and arguments refused before the library."""

import ctypes
import re
import warnings
from pathlib import Path
from typing import Callable

import numpy as np
import pytest

import orvex
from orvex import simboard
from conftest import Journal

Call = Callable[[orvex.Board], object]


@pytest.mark.parametrize("call, code_text", [
    (lambda b: b.ai(8).read(),
     "ASSERT ERORR: orvex, line 395: 0 <= idx && idx < ANALOG_SIZEi: вне диапазона"),
    (lambda b: b.ao(2).write(1.0),
     "ASSERT ERORR: orvex, line 385: 0 <= idx && idx < ANALOG_SIZEo: вне диапазона"),
    (lambda b: b.port(3).write(1),
     "ASSERT ERORR: orvex, line 292: 0 <= port && port < PORT_SIZE: Порт вне диапазона"),
    (lambda b: b.ai(-1).acquire(1000.0, 10),
     "ASSERT ERORR: orvex, line 430: 0 <= idx && idx < ANALOG_SIZEi: вне диапазона"),
    (lambda b: b.ao(1).stop(), "ASSERT ERORR: orvex, line 605: dacOpt.maskFetch == (1<<idx)"),
    (lambda b: b.ao(0).generate([1.0], 10.0, trigger="t" * 256),
     "ASSERT ERORR: orvex, line 550: strlen(source) < sizeof(dacOpt.trigSource)"),
])
def test_the_library_checks_raise_its_code_and_text(board: orvex.Board, call: Call,
                                                    code_text: str) -> None:
    with pytest.raises(orvex.CheckError) as raised:
        call(board)
    assert raised.value.code == -1 and raised.value.text == code_text
    assert isinstance(raised.value, ValueError)


def test_a_driver_failure_carries_the_driver_status_and_text_unchanged(board: orvex.Board) -> None:
    simboard.apply_bench(
        {"faults": [{"entryPoint": "DAQmxWriteAnalogF64", "call": 1, "status": -50103}]})
    with pytest.raises(orvex.Error) as raised:
        board.ao(0).generate([1.0, 2.0], 1000.0)
    expected = ctypes.create_string_buffer(1024)
    simboard.library().DAQmxGetErrorString(-50103, expected, 1024)
    assert raised.value.code == -50103
    assert raised.value.text == expected.value.decode()
    assert raised.value.function == "orvex_analogWriteEx"
    assert orvex.capi.orvex_GetLastErrorBuffer() == expected.value
    with pytest.raises(orvex.Error) as timed_out:
        board.ai(4).acquire(10.0, 100, timeout=0.5)
    assert timed_out.value.code == -200284
    # The last call of 0.1 s: 5 of the 6 samples of the 0.5 s came in the calls before.
    assert '"analog4I": 1 of 95 samples within 0.100000 s' in timed_out.value.text


def test_a_positive_status_is_a_warning_and_the_call_succeeds(board: orvex.Board) -> None:
    simboard.apply_bench(
        {"faults": [{"entryPoint": "DAQmxReadAnalogF64", "call": 1, "status": 200101}]})
    simboard.set_analog_input(6, 1.25)
    with pytest.warns(orvex.DriverWarning) as caught:
        assert board.ai(6).read() == 1.25
    warning = caught[0].message
    assert isinstance(warning, orvex.DriverWarning) and warning.code == 200101
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        board.port(1).write(3)  # status 1: remembered, nothing written; no warning


@pytest.mark.parametrize("call, kind", [
    (lambda b: b.port(0).write(256), ValueError),
    (lambda b: b.port(0).write(1.0), TypeError),
    (lambda b: setattr(b.port(0), "mask", -1), ValueError),
    (lambda b: setattr(b.line(0, 1), "value", 2), ValueError),
    (lambda b: b.line(0, 8), ValueError),
    (lambda b: b.ai(2**31), ValueError),
    (lambda b: b.ao(0).write("1"), TypeError),
    (lambda b: b.ao(0).write(float("nan")), ValueError),
    (lambda b: b.ai(0).acquire(0.0, 10), ValueError),
    (lambda b: b.ai(0).acquire(1000.0, 0), ValueError),
    (lambda b: b.ai(0).acquire(1000.0, 10, timeout=-2.0), ValueError),
    (lambda b: b.ai(0).acquire(1000.0, 10, trigger=1.5), TypeError),
    (lambda b: b.ai(0).stream(float("inf"), 10), ValueError),
    (lambda b: b.ao(0).generate(np.zeros((2, 2)), 1000.0), ValueError),
    (lambda b: b.ao(0).generate([], 1000.0), ValueError),
])
def test_bad_arguments_are_refused_before_the_library_is_called(
        board: orvex.Board, journal: Journal, call: Call, kind: type[Exception]) -> None:
    before = orvex.capi.orvex_SetLastError(12345)
    with pytest.raises(kind):
        call(board)
    assert orvex.capi.orvex_GetLastError() == 12345 and journal.lines() == []
    orvex.capi.orvex_SetLastError(before)


def test_the_c_names_return_statuses_unchanged(board: orvex.Board) -> None:
    value = ctypes.c_double()
    simboard.set_analog_input(7, -2.5)
    assert orvex.capi.orvex_analogIn(7, ctypes.byref(value)) == 0 and value.value == -2.5
    assert orvex.capi.orvex_analogIn(9, ctypes.byref(value)) == -1
    assert orvex.capi.orvex_GetLastError() == -1
    assert b"line 395" in orvex.capi.orvex_GetLastErrorBuffer()
    samples = np.zeros(20)
    count = ctypes.c_int()
    assert orvex.capi.orvex_analogInClk(b"OnboardClock", 1000.0) == 0
    pointer = samples.ctypes.data_as(ctypes.POINTER(ctypes.c_double))
    assert orvex.capi.orvex_analogReadEx(7, pointer, 20, ctypes.byref(count), 1.0) == 0
    assert count.value == 20 and np.all(samples == -2.5)


def test_the_package_gives_every_constant_of_the_header_its_value() -> None:
    header = Path(__file__).resolve().parents[2] / "orvex" / "orvex.h"
    constants = dict(re.findall(r"^ +(\w+) = (-?\d+),? +/\*\*<", header.read_text(), re.MULTILINE))
    assert {"ORVEX_STATUS_NO_MEMORY", "PORT_SIZE"} <= constants.keys()
    assert {name: getattr(orvex, name, None) for name in constants} == {
        name: int(value) for name, value in constants.items()}
    assert set(constants) <= set(orvex.__all__)
