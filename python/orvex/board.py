"""The board: selection of its slot and driver, its channels, and its release."""

from __future__ import annotations

import atexit
import os
from typing import TYPE_CHECKING, Callable, Mapping, Optional, Sequence, TypeVar, Union

from ._closing import ClosesAtEnd
from ._arguments import count, integer, timeout as as_timeout
from ._library import error, lock, raw, warn
from ._scan_setup import MAX_RANGE, Channels, InStep, ScanSetup, Slope, Terminal
from ._session import session
from .analog import AnalogInput, AnalogOutput
from .digital import Line, Port
from .errors import Error
from .scan import ScanStream, acquire
from .waveform import Waveform

if TYPE_CHECKING:
    import numpy as np
    import numpy.typing as npt

_ni6251Slot = raw("orvex_ni6251Slot")
_ni6251Close = raw("orvex_ni6251Close")
_driverLoad = raw("orvex_driverLoad")
_driverLibrary = raw("orvex_driverLibrary")
_analogOutStop = raw("orvex_analogOutStop")


def _select_driver(driver: str) -> None:
    """Names the driver library for the library's first load; once one is loaded it
    stays for the process, so asking for another one is refused."""
    loaded = session.driver_library
    if loaded is None:
        os.environ["ORVEX_DRIVER"] = driver
    elif os.path.abspath(loaded) != os.path.abspath(driver):
        raise ValueError(f"the driver library {loaded!r} is loaded already; "
                         f"{driver!r} can only be used by a new process")


Key = TypeVar("Key")
Channel = TypeVar("Channel")


def _kept(kept: "dict[Key, Channel]", key: Key, make: Callable[[], Channel]) -> Channel:
    """One object per channel, so that a loop that asks for it again costs no new one."""
    found = kept.get(key)
    if found is None:
        found = kept[key] = make()
    return found


class Board(ClosesAtEnd):
    """The NI 6251 board in a slot of chassis PXI1, as a context manager.

    Opening selects the slot for tasks created from now on and loads the board driver
    (``driver`` names the driver library; otherwise ``ORVEX_DRIVER`` or the vendor's
    library), so a missing driver fails here with ``orvex.Error`` -200397.  Leaving the
    ``with`` block, :meth:`close`, or the end of the interpreter releases every task; a
    release that fails is tried again by the next :meth:`close` and at the end.

    The library drives one board per process: every Board object works on the same
    tasks, and closing one releases them all.
    """

    __slots__ = ("slot", "_closed", "_released", "_ports", "_lines", "_inputs", "_outputs")
    slot: int

    def __init__(self, slot: int = 2,
                 driver: Optional[Union[str, "os.PathLike[str]"]] = None) -> None:
        self.slot = integer(slot, "slot")
        self._closed = True
        self._released = False
        self._ports: dict[int, Port] = {}
        self._lines: dict[tuple[int, int], Line] = {}
        self._inputs: dict[int, AnalogInput] = {}
        self._outputs: dict[int, AnalogOutput] = {}
        with lock:
            if driver is not None:
                _select_driver(os.fspath(driver))
            _ni6251Slot(self.slot)
            status = _driverLoad()
            if status < 0:
                raise error(status, "orvex_driverLoad")
            self._closed = False
            session.board_opened(self, _driverLibrary().decode("utf-8", errors="replace"))

    @property
    def closed(self) -> bool:
        """True once the board was closed."""
        return self._closed

    def ensure_open(self) -> None:
        """Raises ValueError when the board was closed (as a closed file does)."""
        if self._closed:
            raise ValueError("the board is closed")

    def port(self, number: int) -> Port:
        """Digital port ``number`` (0 to 2)."""
        number = integer(number, "port")
        return _kept(self._ports, number, lambda: Port(self, number))

    def line(self, port: int, line: int) -> Line:
        """Line ``line`` (0 to 7) of digital port ``port``."""
        key = (integer(port, "port"), integer(line, "line", 0, 7))
        return _kept(self._lines, key, lambda: Line(self.port(key[0]), key[1]))

    def ai(self, channel: int) -> AnalogInput:
        """Analog input ``channel`` (0 to 7), referenced single-ended, -10 to +10 V."""
        channel = integer(channel, "channel")
        return _kept(self._inputs, channel, lambda: AnalogInput(self, channel))

    def ao(self, channel: int) -> AnalogOutput:
        """Analog output ``channel`` (0 or 1), -10 to +10 V."""
        channel = integer(channel, "channel")
        return _kept(self._outputs, channel, lambda: AnalogOutput(self, channel))

    def scan(self, channels: Channels, rate: float, samples: int, *, range: float = MAX_RANGE,
             ranges: Optional[Mapping[Union[str, int], float]] = None,
             terminal: Terminal = "rse",
             terminals: Optional[Mapping[Union[str, int], Terminal]] = None,
             trigger: Optional[Union[str, int]] = None, level: float = 0.0,
             slope: Slope = "rising", output: Optional[Union[InStep, Sequence[InStep]]] = None,
             timeout: float = 10.0,
             out: "Optional[npt.NDArray[np.float64]]" = None) -> Waveform:
        """Scans ``channels`` ("ai0:3,ai8", an input number or a list of both) on one clock
        at ``rate`` samples per second per channel, ``samples`` times, into a
        :class:`Waveform` (samples x channels, or into ``out``, a writeable C-contiguous
        float64 array of that shape).

        Every channel measures within +-``range`` volts, widened by the board to the
        smallest of its ranges that holds it, and is wired ``terminal`` ("rse", "nrse" or
        "diff": input n against n+8); ``ranges`` and ``terminals`` map single channels
        ("ai3" or 3) to their own.  With ``trigger`` (an input, "ai3" or 3, or a PFI line,
        "PFI4") the scan starts when that input passes ``level`` volts, or the line has
        its edge, in the direction of ``slope`` ("rising" or "falling").  ``output``, made
        by ``board.ao(n).in_step(...)`` (or a list for ao0 and ao1), is generated from the
        scan's start.  Raises ``orvex.Error`` -200284 when the samples do not come within
        ``timeout`` seconds (-1: no limit).  Reads wait 0.1 s at most each, so Ctrl-C ends
        the scan at once; whatever ends it early stops it before the exception leaves."""
        setup = ScanSetup(channels, rate, range, ranges, terminal, terminals, trigger, level,
                          slope, output)
        return acquire(self, setup, count(samples, "samples"), as_timeout(timeout), out)

    def scan_stream(self, channels: Channels, rate: float, block: int, *,
                    range: float = MAX_RANGE,
                    ranges: Optional[Mapping[Union[str, int], float]] = None,
                    terminal: Terminal = "rse",
                    terminals: Optional[Mapping[Union[str, int], Terminal]] = None,
                    trigger: Optional[Union[str, int]] = None, level: float = 0.0,
                    slope: Slope = "rising",
                    output: Optional[Union[InStep, Sequence[InStep]]] = None,
                    timeout: float = 10.0) -> ScanStream:
        """A continuous scan, as :meth:`scan` sets it up, read in :class:`Waveform` blocks
        of ``block`` scans each; see :class:`ScanStream`.  ``timeout`` is for each block."""
        setup = ScanSetup(channels, rate, range, ranges, terminal, terminals, trigger, level,
                          slope, output)
        return ScanStream(self, setup, count(block, "block"), as_timeout(timeout))

    def close(self) -> None:
        """Stops a running scan, stream and generation and releases every task of the board
        (``orvex_ni6251Close``).  Raises ``orvex.Error`` for the first step that failed,
        after all of them were made.  The board cannot be used after its close; closing
        it again does nothing once the release succeeded, and tries it again otherwise."""
        with lock:
            if self._released:
                return
            self._closed = True
            failure: Optional[Error] = None
            scan = session.active_scan()
            if scan is not None:
                failure = scan.close_locked()
            stream = session.active_stream()
            if stream is not None:
                stream_failure = stream.close_locked()
                failure = failure or stream_failure
            generating = session.generating()
            if generating is not None:
                status = _analogOutStop(generating)
                session.generation_stopped()
                if status < 0 and failure is None:
                    failure = error(status, "orvex_analogOutStop")
            status = _ni6251Close()
            if status < 0:
                failure = failure or error(status, "orvex_ni6251Close")
            else:
                self._released = True
                if stream is not None:
                    stream.close_locked()  # the release ended a fetch that would not stop
            session.board_closed(self, self._released)
        if failure is not None:
            raise failure
        warn(status, "orvex_ni6251Close")

    def __repr__(self) -> str:
        state = "closed" if self._closed else "open"
        return f"<orvex.Board slot={self.slot} {state}>"


@atexit.register
def _close_open_boards() -> None:
    for board in session.open_boards():
        try:
            board.close()
        except Error:
            pass  # nothing is left to report a failure to at exit
