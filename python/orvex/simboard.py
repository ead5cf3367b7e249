"""Control of the simulated board while a program runs on it: press switches, move the
joystick, set inputs, inject faults, move virtual time and read the journal.

The functions act on the copy of the simulated board that the orvex library loaded (or
will load): the driver library it names, normally through ``ORVEX_DRIVER``.  Each
raises ``orvex.Error`` with the board's status and text when the board refuses.
"""

from __future__ import annotations

import ctypes
import json
import os
from typing import Any, Mapping, Optional, Union

from ._arguments import integer, real
from ._library import lock, raw
from ._session import session
from .errors import Error

_driverLibrary = raw("orvex_driverLibrary")
_board: Optional[ctypes.CDLL] = None


def library() -> ctypes.CDLL:
    """The simulated board's driver library, loaded once: the same copy the orvex
    library uses, since loading one file twice gives the one copy."""
    global _board
    with lock:
        if _board is None:
            path = session.driver_library or _driverLibrary().decode("utf-8")
            _board = ctypes.CDLL(path)
            _board.simboard_time.restype = ctypes.c_double
            _board.DAQmxGetErrorString.argtypes = [ctypes.c_int32, ctypes.c_char_p, ctypes.c_uint32]
        return _board


def _call(name: str, *arguments: Any) -> None:
    board = library()
    with lock:
        status = getattr(board, name)(*arguments)
        if status < 0:
            size = board.DAQmxGetErrorString(status, None, 0)
            text = ctypes.create_string_buffer(max(size, 1))
            board.DAQmxGetErrorString(status, text, len(text))
            raise Error(status, text.value.decode("utf-8", errors="replace"), name)


def press_switch(number: int, pressed: bool = True) -> None:
    """Holds switch S1..S4 (``number`` 1 to 4) down, or up with ``pressed`` False."""
    _call("simboard_pressSwitch", integer(number, "number"), 1 if pressed else 0)


def hold_joystick(x: float, y: float) -> None:
    """Holds the joystick so that its wipers give these volts (X on ai2, Y on ai3)
    while it is powered (port 2 line 0 high)."""
    _call("simboard_holdJoystick", ctypes.c_double(real(x, "x")), ctypes.c_double(real(y, "y")))


def release_joystick() -> None:
    """Returns the joystick to its path."""
    _call("simboard_releaseJoystick")


def set_input_line(port: int, line: int, level: Optional[int]) -> None:
    """Puts level 0 or 1 on an input line of the stand; None gives it back to the stand."""
    value = -1 if level is None else integer(int(level), "level", 0, 1)
    _call("simboard_setInputLine", integer(port, "port"), integer(line, "line"), value)


def set_analog_input(channel: int, volts: Optional[float]) -> None:
    """Puts ``volts`` on input ``channel`` instead of the stand's wiring; None restores it."""
    channel = integer(channel, "channel")
    if volts is None:
        _call("simboard_releaseAnalogInput", channel)
    else:
        _call("simboard_setAnalogInput", channel, ctypes.c_double(real(volts, "volts")))


def apply_bench(fragment: Union[Mapping[str, Any], str]) -> None:
    """Applies a fragment in the bench file's format (a mapping or its JSON text), for
    example ``{"faults": [{"entryPoint": "DAQmxStartTask", "call": 1, "status": -50103}]}``.
    The board checks it whole before any of it applies."""
    text = fragment if isinstance(fragment, str) else json.dumps(fragment)
    _call("simboard_applyBench", text.encode("utf-8"))


def reset() -> None:
    """The stand back to its defaults and every fault disarmed; tasks and time stay."""
    _call("simboard_reset")


def advance_time(seconds: float) -> None:
    """Moves virtual time ahead (nothing in real time)."""
    _call("simboard_advanceTime", ctypes.c_double(real(seconds, "seconds")))


def time() -> float:
    """The board time in seconds."""
    board = library()
    with lock:
        return float(board.simboard_time())


def journal(path: Optional[Union[str, "os.PathLike[str]"]] = None) -> list[str]:
    """The lines of the board's journal, one per driver call: the file named by
    ``path``, else by ``ORVEX_SIM_JOURNAL``."""
    name = path if path is not None else os.environ.get("ORVEX_SIM_JOURNAL")
    if not name:
        raise ValueError("no journal: ORVEX_SIM_JOURNAL names none")
    with open(name, encoding="utf-8", errors="replace") as file:
        return file.read().splitlines()
