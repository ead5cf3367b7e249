"""Scans: finite ones read into one array, continuous ones as a stream of blocks.  Reads
wait in short library calls, so that Ctrl-C is seen while they wait, and whatever ends a
scan early stops it (``orvex_scanStop``) before the exception leaves, so that the analog
inputs are free again for this process and every other one."""

from __future__ import annotations

import ctypes
from typing import TYPE_CHECKING, Iterator, Optional

import numpy as np

from ._acquisition import SLICE_SECONDS, TIMED_OUT
from ._library import ScanInfo, error, fail, lock, raw, warn
from ._scan_setup import ScanSetup, scan_info, started_channels
from ._session import session
from ._stopping import StopsWhenDone
from .errors import Error
from .waveform import Waveform

if TYPE_CHECKING:
    import numpy.typing as npt

    from .board import Board

_scanStart = raw("orvex_scanStart")
_scanReadEx = raw("orvex_scanReadEx")
_scanStop = raw("orvex_scanStop")

_BY_SCAN = 1


def _read_scans(data: "npt.NDArray[np.float64]", timeout: float) -> int:
    """Fills ``data`` (scans x channels, C order) with the scan's next samples in calls
    that wait at most :data:`SLICE_SECONDS` each, each going on where the last stopped,
    until the samples have taken ``timeout`` seconds of waiting (-1: no limit).  On a
    failure the rows not read are NaN.  Returns the last call's status; under the lock."""
    scans = data.shape[0]
    row_bytes = data.strides[0]
    start = data.ctypes.data
    read = ctypes.c_int()
    read_ref = ctypes.byref(read)
    done = 0
    waited = 0.0
    try:
        while True:
            wait = SLICE_SECONDS if timeout < 0 else min(SLICE_SECONDS, timeout - waited)
            status = _scanReadEx(ctypes.c_void_p(start + done * row_bytes), scans - done,
                                 _BY_SCAN, read_ref, ctypes.c_double(wait))
            done += read.value
            if status != TIMED_OUT:
                if status < 0:
                    fail(status, "orvex_scanReadEx")
                return int(status)
            # Time is counted in the calls' timeouts, not by the wall clock, so that it
            # passes alike on a board in virtual time, whose reads return at once.
            waited += wait
            if 0.0 <= timeout <= waited:
                fail(status, "orvex_scanReadEx")
    except BaseException:
        data[done:] = np.nan
        raise


def _stop() -> Optional[Error]:
    """Stops the scan; its failure, after which the library has still released the
    scan's tasks.  Under the lock."""
    status = _scanStop()
    return error(status, "orvex_scanStop") if status < 0 else None


class _Started:
    """A scan the library started: the start's status (to warn of once the lock is
    released) and its channels' names and board ranges."""

    __slots__ = ("status", "names", "ranges")

    def __init__(self, status: int, names: list[str], ranges: list[float]) -> None:
        self.status = status
        self.names = names
        self.ranges = ranges


def _start(setup: ScanSetup, samples: int) -> _Started:
    """Stores the set-up and starts the scan (the library leaves nothing running when the
    start fails); under the lock."""
    if session.active_scan() is not None:
        raise RuntimeError("a scan stream is running; close it first")
    setup.store()
    status = _scanStart(ctypes.c_longlong(samples))
    if status < 0:
        fail(status, "orvex_scanStart")
    try:
        return _Started(int(status), *started_channels(len(setup.names)))
    except BaseException:
        _stop()
        raise


def checked_out(out: object, shape: tuple[int, int]) -> "npt.NDArray[np.float64]":
    if not isinstance(out, np.ndarray) or out.dtype != np.float64:
        raise TypeError("out must be a numpy array of float64")
    if out.shape != shape or not out.flags.c_contiguous or not out.flags.writeable:
        raise ValueError(f"out must be a writeable C-contiguous array of shape {shape}")
    return out


def acquire(board: "Board", setup: ScanSetup, samples: int, timeout: float,
            out: "Optional[npt.NDArray[np.float64]]") -> Waveform:
    """A finite scan of ``samples`` scans, read into ``out`` or a new array."""
    shape = (samples, len(setup.names))
    data = np.empty(shape, dtype=np.float64) if out is None else checked_out(out, shape)
    with lock:
        board.ensure_open()
        started = _start(setup, samples)
        try:
            status = _read_scans(data, timeout)
            info = scan_info()
        except BaseException:
            _stop()  # the failure that ended the scan is the one to raise
            raise
        failure = _stop()
        if failure is not None:
            raise failure
    warn(started.status, "orvex_scanStart")
    warn(status, "orvex_scanReadEx")
    return Waveform(data, started.names, started.ranges, info)


class ScanStream(StopsWhenDone, Iterator[Waveform]):
    """A continuous scan, block by block: each :class:`Waveform` holds the next ``block``
    scans, without a gap, and its ``first_scan`` counts the scans before it.

    The first block starts the scan; the stream stops it at a ``break`` out of its loop
    (when it is dropped), on :meth:`close`, at the end of a ``with`` block, when the
    board is closed, or when a block fails (the failure is raised, and the scan is
    stopped first); iteration then ends.  One scan runs at a time.
    """

    __slots__ = ("_board", "_setup", "_block", "_timeout", "_started", "_info", "_scans",
                 "_running", "_finished", "__weakref__")

    def __init__(self, board: "Board", setup: ScanSetup, block: int, timeout: float) -> None:
        self._board = board
        self._setup = setup
        self._block = block
        self._timeout = timeout
        self._started: Optional[_Started] = None
        self._info: Optional[ScanInfo] = None
        self._scans = 0
        self._running = False
        self._finished = False
        with lock:
            board.ensure_open()
            if session.active_scan() is not None:
                raise RuntimeError("a scan stream is running; close it first")
            setup.store()  # the library's checks, before the first block

    @property
    def running(self) -> bool:
        """True while this stream's scan runs."""
        return self._running

    def __iter__(self) -> "ScanStream":
        return self

    def __next__(self) -> Waveform:
        data = np.empty((self._block, len(self._setup.names)), dtype=np.float64)
        with lock:
            if self._finished or self._board.closed:
                self._finished = True
                raise StopIteration
            with self._ending_on_failure():
                start_status = 0
                if self._started is None:  # a stream does not start again once closed
                    self._started = _start(self._setup, 0)
                    start_status = self._started.status
                    self._running = True
                    session.scan_started(self)
                started = self._started
                status = _read_scans(data, self._timeout)
                if self._info is None:
                    self._info = scan_info()  # the start time is known after the first read
                info = self._info
            first_scan = self._scans
            self._scans += self._block
        with self._ending_on_failure():
            warn(start_status, "orvex_scanStart")
            warn(status, "orvex_scanReadEx")
        return Waveform(data, started.names, started.ranges, info, first_scan)

    def close_locked(self) -> Optional[Error]:
        """:meth:`close` for a caller that holds the lock; returns the stop's failure
        instead of raising it.  The library releases the scan's tasks even then."""
        self._finished = True
        if not self._running:
            return None
        self._running = False
        session.scan_stopped()
        return _stop()
