"""Analog inputs and outputs: single points, clocked blocks and continuous streams."""

from __future__ import annotations

import ctypes
from typing import TYPE_CHECKING, Iterator, Optional, Union

import numpy as np
import numpy.typing as npt

from ._acquisition import read_block, stop_fetch
from ._arguments import INT_MAX, count, real, source, timeout as as_timeout, rate as as_rate
from ._library import array_pointer, fail, lock, raw, warn
from ._scan_setup import InStep
from ._session import session
from ._stopping import StopsWhenDone
from .errors import Error

if TYPE_CHECKING:
    from .board import Board

_analogIn = raw("orvex_analogIn", quick=True)
_analogOut = raw("orvex_analogOut", quick=True)
_analogFetchEx = raw("orvex_analogFetchEx")
_analogWriteEx = raw("orvex_analogWriteEx")
_analogOutStop = raw("orvex_analogOutStop")

_ONBOARD_CLOCK = b"OnboardClock"
_timing = {name: raw(name) for name in ("orvex_analogInClk", "orvex_analogInTrigger",
                                        "orvex_analogOutClk", "orvex_analogOutTrigger")}

#: A trigger source: an input channel number of the board, or a terminal name such as
#: ``"PXI1Slot2/ai0"``.
TriggerSource = Union[int, str]


def _set_timing(side: str, rate: float, trigger_source: Optional[bytes], level: float) -> None:
    """Sets the clock and start trigger of the input or output side ("In", "Out") for
    its next clocked call, under the lock.  The library refuses a source text too long
    for its record."""
    for name, text, number in ((f"orvex_analog{side}Clk", _ONBOARD_CLOCK, rate),
                               (f"orvex_analog{side}Trigger", trigger_source, level)):
        status = _timing[name](text, ctypes.c_double(number))
        if status < 0:
            fail(status, name)


def _checked_out(out: object, samples: int) -> "npt.NDArray[np.float64]":
    if not isinstance(out, np.ndarray) or out.dtype != np.float64:
        raise TypeError("out must be a numpy array of float64")
    if out.size != samples or not out.flags.c_contiguous or not out.flags.writeable:
        raise ValueError(f"out must be a writeable contiguous array of {samples} samples")
    return out


class AnalogInput:
    """An analog input channel, -10 to +10 V, referenced single-ended."""

    __slots__ = ("_board", "channel", "_value", "_value_ref")
    channel: int

    def __init__(self, board: "Board", channel: int) -> None:
        self._board = board
        self.channel = channel
        self._value = ctypes.c_double()
        self._value_ref = ctypes.byref(self._value)

    def read(self) -> float:
        """One sample in volts."""
        with lock:
            self._board.ensure_open()
            status = _analogIn(self.channel, self._value_ref)
            if status < 0:
                fail(status, "orvex_analogIn")
            value = self._value.value
        if status > 1:
            warn(status, "orvex_analogIn")
        return value

    def acquire(self, rate: float, samples: int, trigger: Optional[TriggerSource] = None,
                level: float = 0.0, timeout: float = 10.0,
                out: "Optional[npt.NDArray[np.float64]]" = None) -> "npt.NDArray[np.float64]":
        """Acquires ``samples`` samples at ``rate`` samples per second into a new array
        (or into ``out``, a writeable contiguous float64 array of that size, which saves
        the allocation in a loop), filled in place by the library in calls that wait at
        most 0.1 s each, so that Ctrl-C stops the acquisition at once.  With ``trigger``
        the acquisition starts when that input rises through ``level`` volts.  Raises
        ``orvex.Error`` -200284 when the samples do not come within ``timeout`` seconds
        (-1: no limit).  A failed or interrupted acquisition stops its task before the
        exception leaves, so the analog input is free for the next one."""
        rate = as_rate(rate)
        samples = count(samples, "samples")
        trigger_source = source(trigger, self._board.slot)
        level = real(level, "level")
        timeout = as_timeout(timeout)
        data = np.empty(samples, dtype=np.float64) if out is None else _checked_out(out, samples)
        with lock:
            self._board.ensure_open()
            _set_timing("In", rate, trigger_source, level)
            status = read_block(self.channel, data, timeout)
        warn(status, "orvex_analogReadEx")
        return data

    def stream(self, rate: float, block: int, timeout: float = 10.0) -> "Stream":
        """An iterator of arrays of ``block`` samples each, read continuously at ``rate``
        samples per second; see :class:`Stream`."""
        return Stream(self, as_rate(rate), count(block, "block"), as_timeout(timeout))

    def __repr__(self) -> str:
        return f"<orvex.AnalogInput ai{self.channel}>"


class Stream(StopsWhenDone, Iterator["npt.NDArray[np.float64]"]):
    """Continuous acquisition of one input channel, block by block.

    The first block starts the channel's continuous sampling (the board buffers one
    second of samples); each further block takes the next samples without a gap.  The
    stream stops at a ``break`` out of its loop (when it is dropped), on :meth:`close`,
    at the end of a ``with`` block, when the board is closed, or when a block fails
    (the failure is raised, and the fetch is stopped first); iteration then ends.  Only
    one channel can stream at a time.
    """

    # The session refers to the running stream weakly, so that a dropped one stops.
    __slots__ = ("_input", "_rate", "_block", "_timeout", "_read", "_running", "_finished",
                 "__weakref__")

    def __init__(self, channel: AnalogInput, rate: float, block: int, timeout: float) -> None:
        self._input = channel
        self._rate = rate
        self._block = block
        self._timeout = timeout
        self._read = ctypes.c_int()
        self._running = False
        self._finished = False

    @property
    def running(self) -> bool:
        """True while the library fetches this stream's channel."""
        return self._running

    def __iter__(self) -> "Stream":
        return self

    def __next__(self) -> "npt.NDArray[np.float64]":
        data = np.empty(self._block, dtype=np.float64)
        with lock:
            if self._finished or self._input._board.closed:
                self._finished = True
                raise StopIteration
            other = session.active_stream()
            if other is not None and other is not self:
                raise RuntimeError(f"ai{other._input.channel} is streaming already; "
                                   "close that stream first")
            with self._ending_on_failure():
                if not self._running:
                    _set_timing("In", self._rate, None, 0.0)
                    self._running = True
                    session.stream_started(self)
                status = _analogFetchEx(self._input.channel, array_pointer(data), self._block,
                                        ctypes.byref(self._read), ctypes.c_double(self._timeout))
                if status < 0:
                    fail(status, "orvex_analogFetchEx")
        with self._ending_on_failure():
            warn(status, "orvex_analogFetchEx")
        return data

    def close_locked(self) -> Optional[Error]:
        """:meth:`close` for a caller that holds the lock; returns the failure instead of
        raising it, so that the board's close can make its other steps first.  After a
        failed stop the stream still runs, and closing again tries the stop again."""
        self._finished = True
        if not self._running:
            return None
        failure = stop_fetch(self._input.channel)
        if failure is None:
            self._running = False
            session.stream_stopped()
        return failure


class AnalogOutput:
    """An analog output channel, -10 to +10 V."""

    __slots__ = ("_board", "channel")
    channel: int

    def __init__(self, board: "Board", channel: int) -> None:
        self._board = board
        self.channel = channel

    def write(self, volts: float) -> None:
        """Sets the output to ``volts`` at once.  The driver refuses values beyond the
        channel's range."""
        value = ctypes.c_double(real(volts, "volts"))
        with lock:
            self._board.ensure_open()
            status = _analogOut(self.channel, value)
            if status < 0:
                fail(status, "orvex_analogOut")
        warn(status, "orvex_analogOut")

    def generate(self, samples: "npt.ArrayLike", rate: float,
                 trigger: Optional[TriggerSource] = None, level: float = 0.0,
                 timeout: float = 10.0) -> None:
        """Generates the block of volts in ``samples`` at ``rate`` samples per second,
        over and over, until :meth:`stop` or the board's close.  A generation already
        running on this channel is stopped first.  With ``trigger`` it starts when that
        input rises through ``level`` volts."""
        data = np.ascontiguousarray(samples, dtype=np.float64)
        if data.ndim != 1 or not 0 < data.size <= INT_MAX:
            raise ValueError(f"samples must be one non-empty row of volts, not shape {data.shape}")
        rate = as_rate(rate)
        trigger_source = source(trigger, self._board.slot)
        level = real(level, "level")
        timeout = as_timeout(timeout)
        with lock:
            self._board.ensure_open()
            _set_timing("Out", rate, trigger_source, level)
            status = _analogWriteEx(self.channel, array_pointer(data), data.size,
                                    ctypes.c_double(timeout))
            if status < 0:
                fail(status, "orvex_analogWriteEx")
            session.generation_started(self.channel)
        warn(status, "orvex_analogWriteEx")

    def in_step(self, samples: "npt.ArrayLike", share_clock: bool = True,
                rate: Optional[float] = None) -> InStep:
        """The block of volts in ``samples`` to generate in step with a scan, as its
        ``output``: started by the scan's start and, with ``share_clock``, one sample per
        scan on the scan's clock (else at ``rate`` samples per second); it repeats until
        the scan stops.
        ``board.scan("ai0:1", 1000.0, 500, output=board.ao(0).in_step(wave))``"""
        return InStep(self.channel, samples, share_clock, rate)

    def stop(self) -> None:
        """Stops this channel's generation; the output keeps its last level.  The
        library refuses (``orvex.CheckError``) when the channel is not generating."""
        with lock:
            self._board.ensure_open()
            status = _analogOutStop(self.channel)
            if status < 0:
                fail(status, "orvex_analogOutStop")
            session.generation_stopped()
        warn(status, "orvex_analogOutStop")

    def __repr__(self) -> str:
        return f"<orvex.AnalogOutput ao{self.channel}>"
