"""Clocked reads of an input channel that leave nothing running behind them: a block read
in short calls, so that Ctrl-C is seen while it waits, and the stop of the task that a
failed read leaves running (the library stops it only after a whole block, or as the
channel it fetches, and until then no other input can be read on the machine)."""

from __future__ import annotations

import bisect
import ctypes
import math
from typing import TYPE_CHECKING, Optional

import numpy as np

from ._library import array_pointer, error, fail, raw
from ._session import session
from .errors import CheckError, Error

if TYPE_CHECKING:
    import numpy.typing as npt

_analogReadEx = raw("orvex_analogReadEx")
_analogFetchEx = raw("orvex_analogFetchEx")
_analogInStop = raw("orvex_analogInStop")

#: The longest one library call waits for samples: Ctrl-C takes effect when it returns.
SLICE_SECONDS = 0.1
#: The driver's status for samples that did not come within the timeout.
TIMED_OUT = -200284


def read_block(channel: int, data: "npt.NDArray[np.float64]", timeout: float) -> int:
    """Fills ``data`` with the channel's next clocked samples through
    ``orvex_analogReadEx``, in calls that wait at most :data:`SLICE_SECONDS` each, until
    the samples have taken ``timeout`` seconds of waiting (-1: no limit).  A call that
    times out leaves the task running and its samples at the front of the array, so the
    next call goes on from there; the call that reads the rest stops the task.  Whatever
    ends the read early (a failure, a KeyboardInterrupt) stops the task before it is
    raised.  Returns the last call's status; under the lock."""
    try:
        return _read_in_slices(channel, data, timeout)
    except CheckError:
        raise  # refused before the driver was called: nothing runs
    except BaseException:
        # A stream's task is the stream's to stop; this read could not start another.
        if session.active_stream() is None:
            _stop_read(channel)
        raise


def stop_fetch(channel: int) -> Optional[Error]:
    """Stops the channel's fetch, if the library fetches it; under the lock.  Returns
    the stop's failure, after which the fetch still runs."""
    status = _analogInStop(channel)
    if status == -1:
        return None  # the library fetches no such channel
    return error(status, "orvex_analogInStop") if status < 0 else None


def _read_in_slices(channel: int, data: "npt.NDArray[np.float64]", timeout: float) -> int:
    data.fill(np.nan)  # never a sample: where the first one is, a timed-out call stopped
    done = 0
    waited = 0.0
    while True:
        wait = SLICE_SECONDS if timeout < 0 else min(SLICE_SECONDS, timeout - waited)
        rest = data[done:]
        status = _analogReadEx(channel, array_pointer(rest), rest.size, None,
                               ctypes.c_double(wait))
        if status != TIMED_OUT:
            if status < 0:
                fail(status, "orvex_analogReadEx")
            return int(status)
        # Time is counted in the calls' timeouts, not by the wall clock, so that it
        # passes alike on a board in virtual time, whose reads return at once.
        waited += wait
        if 0.0 <= timeout <= waited:
            fail(status, "orvex_analogReadEx")
        done += _samples_read(rest)


def _samples_read(rest: "npt.NDArray[np.float64]") -> int:
    """How many samples a timed-out call left at the front of ``rest``, which held NaN."""
    return bisect.bisect_left(range(rest.size), True, key=lambda index: math.isnan(rest[index]))


def _stop_read(channel: int) -> None:
    """Stops the channel's task that a failed read may have left running: a fetch of one
    sample makes it the channel the library fetches (even when that read fails), which
    the library then stops.  A failure here leaves the task to the board's close; the
    read's own failure is the one to raise."""
    sample = ctypes.c_double()
    _analogFetchEx(channel, ctypes.byref(sample), 1, None, ctypes.c_double(0.0))
    stop_fetch(channel)
