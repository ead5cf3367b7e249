"""orvex: the NI 6251 board from Python, over the orvex library (liborvex.so.0).

    import orvex
    with orvex.Board(slot=2) as board:
        board.port(0).mask = 0xF0
        board.line(0, 4).value = 1
        volts = board.ai(2).read()
        samples = board.ai(0).acquire(rate=10_000, samples=1000)
        scan = board.scan("ai0:3,ai8", rate=10_000, samples=1000, ranges={"ai3": 0.1})

A negative status raises :class:`Error` with the library's code and text, a driver
warning issues :class:`DriverWarning`, and bad arguments raise ValueError or TypeError
before the library is called.  One lock serialises every call into the library, so
threads may share a board.  The C functions are in :mod:`orvex.capi` under their C
names; the simulated board's controls are in :mod:`orvex.simboard`, and recordings in
HDF5 (written through the recording library, read with h5py) in :mod:`orvex.recording`.
"""

from __future__ import annotations

from . import capi
from ._library import library_path, lock
from ._scan_setup import InStep
from .analog import AnalogInput, AnalogOutput, Stream, TriggerSource
from .board import Board
from .digital import Line, Port
from .errors import CheckError, DriverWarning, Error, RecordingError
from .scan import ScanStream
from .waveform import Waveform

__version__ = "0.3.0"

PORT_SIZE = 3
PORT_CACHE_SIZE = 4
ANALOG_SIZEo = 2
ANALOG_SIZEi = 8
ERROR_BUFFER_SIZE = 1024
ORVEX_STATUS_CHECK_FAILED = -1
ORVEX_STATUS_NO_PROGRESS = -2
ORVEX_STATUS_NO_MEMORY = -3
ORVEX_RSE = 0
ORVEX_NRSE = 1
ORVEX_DIFF = 2
ORVEX_BY_CHANNEL = 0
ORVEX_BY_SCAN = 1
ORVEX_RISING = 0
ORVEX_FALLING = 1
ORVEX_TIME_UNKNOWN = 0
ORVEX_TIME_AT_START = 1
ORVEX_TIME_FROM_COUNT = 2


def library_version() -> str:
    """The version of the loaded orvex library."""
    return capi.orvex_version().decode("ascii")


def driver_library() -> str:
    """The board driver library the orvex library loads or has loaded."""
    return capi.orvex_driverLibrary().decode("utf-8", errors="replace")


__all__ = [
    "ANALOG_SIZEi", "ANALOG_SIZEo", "AnalogInput", "AnalogOutput", "Board", "CheckError",
    "DriverWarning", "ERROR_BUFFER_SIZE", "Error", "InStep", "Line", "ORVEX_BY_CHANNEL",
    "ORVEX_BY_SCAN", "ORVEX_DIFF", "ORVEX_FALLING", "ORVEX_NRSE", "ORVEX_RISING", "ORVEX_RSE",
    "ORVEX_STATUS_CHECK_FAILED", "ORVEX_STATUS_NO_MEMORY", "ORVEX_STATUS_NO_PROGRESS",
    "ORVEX_TIME_AT_START", "ORVEX_TIME_FROM_COUNT", "ORVEX_TIME_UNKNOWN",
    "PORT_CACHE_SIZE", "PORT_SIZE", "Port", "RecordingError", "ScanStream", "Stream",
    "TriggerSource", "Waveform", "capi", "driver_library", "library_path", "library_version",
    "lock",
]
