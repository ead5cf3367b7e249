"""The library's C functions under their C names, for those who know them.

Each returns the C status unchanged and raises nothing for it; pointer arguments take
ctypes objects (``ctypes.byref(ctypes.c_double())``, a ctypes array, or
``array.ctypes.data_as(ctypes.POINTER(ctypes.c_double))`` for a numpy array).  Every
call holds the module's lock, as do the methods of :class:`orvex.Board`; to read a
failed call's text safely beside other threads, hold :data:`orvex.lock` across the call
and ``orvex_GetLastErrorBuffer``.
"""

from __future__ import annotations

import ctypes
from typing import Any, Optional

from ._library import ScanChannel, ScanInfo, lock, typed

#: A ctypes pointer, ``ctypes.byref()`` result or ctypes array.
CPointer = Any

_functions = {name: typed(name) for name in (
    "orvex_SetLastError", "orvex_GetLastError", "orvex_GetLastErrorBuffer",
    "orvex_PrintLastError", "orvex_version", "orvex_driverLoad", "orvex_driverLibrary",
    "orvex_ni6251Slot", "orvex_ni6251Close", "orvex_portMask", "orvex_portOut",
    "orvex_portIn", "orvex_analogOut", "orvex_analogIn", "orvex_analogInClk",
    "orvex_analogInTrigger", "orvex_analogReadEx", "orvex_analogRead",
    "orvex_analogFetchEx", "orvex_analogFetchStatus", "orvex_analogInStop",
    "orvex_analogOutClk", "orvex_analogOutTrigger", "orvex_analogWriteEx",
    "orvex_analogWrite", "orvex_analogOutStop", "orvex_scanChannels",
    "orvex_scanChannelSetup", "orvex_scanClock", "orvex_scanTrigger", "orvex_scanOutput",
    "orvex_scanStart", "orvex_scanReadEx", "orvex_scanAcquire", "orvex_scanStop",
    "orvex_scanChannel", "orvex_scanInfo")}

#: The structs that orvex_scanInfo and orvex_scanChannel fill, with the C field names.
orvex_ScanInfo = ScanInfo
orvex_ScanChannel = ScanChannel


def _call(name: str, *arguments: Any) -> Any:
    with lock:
        return _functions[name](*arguments)


def orvex_SetLastError(code: int) -> int:
    """Stores the error code; returns the one held before."""
    return int(_call("orvex_SetLastError", code))


def orvex_GetLastError() -> int:
    """The library's error code."""
    return int(_call("orvex_GetLastError"))


def orvex_GetLastErrorBuffer() -> bytes:
    """The library's error text, as bytes (UTF-8)."""
    with lock:
        return ctypes.string_at(_functions["orvex_GetLastErrorBuffer"]())


def orvex_PrintLastError() -> int:
    """Prints "Error = code, text" to the error output; returns the code."""
    return int(_call("orvex_PrintLastError"))


def orvex_version() -> bytes:
    """The loaded library's version text."""
    return bytes(_call("orvex_version"))


def orvex_driverLoad() -> int:
    """Loads the board driver if not yet loaded; the status."""
    return int(_call("orvex_driverLoad"))


def orvex_driverLibrary() -> bytes:
    """The driver library the library loads or has loaded."""
    return bytes(_call("orvex_driverLibrary"))


def orvex_ni6251Slot(slot: int) -> int:
    """Selects the board's slot for tasks created later; always 0."""
    return int(_call("orvex_ni6251Slot", slot))


def orvex_ni6251Close() -> int:
    """Releases every task; the status."""
    return int(_call("orvex_ni6251Close"))


def orvex_portMask(portN: int, mask: int) -> int:
    """Sets the port's direction mask (a set bit makes its line an output)."""
    return int(_call("orvex_portMask", portN, mask))


def orvex_portOut(port: int, value: int) -> int:
    """Writes the port's output lines."""
    return int(_call("orvex_portOut", port, value))


def orvex_portIn(port: int, data: CPointer) -> int:
    """Reads the port into ``data`` (a pointer to c_ubyte)."""
    return int(_call("orvex_portIn", port, data))


def orvex_analogOut(idx: int, val: float) -> int:
    """Sets analog output ``idx`` to ``val`` volts."""
    return int(_call("orvex_analogOut", idx, val))


def orvex_analogIn(idx: int, val: CPointer) -> int:
    """Reads analog input ``idx`` into ``val`` (a pointer to c_double)."""
    return int(_call("orvex_analogIn", idx, val))


def orvex_analogInClk(source: Optional[bytes], rate: float) -> int:
    """Sets the input sample clock, applied at each channel's next clocked read."""
    return int(_call("orvex_analogInClk", source, rate))


def orvex_analogInTrigger(source: Optional[bytes], level: float) -> int:
    """Sets (or with None or b"" removes) the input start trigger."""
    return int(_call("orvex_analogInTrigger", source, level))


def orvex_analogReadEx(idx: int, warray: CPointer, size: int, readCount: CPointer,
                       timeout: float) -> int:
    """Acquires ``size`` samples into ``warray`` and stops."""
    return int(_call("orvex_analogReadEx", idx, warray, size, readCount, timeout))


def orvex_analogRead(idx: int, warray: CPointer, size: int, readCount: CPointer) -> int:
    """:func:`orvex_analogReadEx` with a timeout of 10 s."""
    return int(_call("orvex_analogRead", idx, warray, size, readCount))


def orvex_analogFetchEx(idx: int, warray: CPointer, size: int, readCount: CPointer,
                        timeout: float) -> int:
    """Reads the next ``size`` samples of the continuously sampled channel."""
    return int(_call("orvex_analogFetchEx", idx, warray, size, readCount, timeout))


def orvex_analogFetchStatus() -> int:
    """1 while a channel is being fetched, else 0."""
    return int(_call("orvex_analogFetchStatus"))


def orvex_analogInStop(idx: int) -> int:
    """Stops the channel being fetched."""
    return int(_call("orvex_analogInStop", idx))


def orvex_analogOutClk(source: Optional[bytes], rate: float) -> int:
    """Sets the output sample clock, applied at each channel's next clocked write."""
    return int(_call("orvex_analogOutClk", source, rate))


def orvex_analogOutTrigger(source: Optional[bytes], level: float) -> int:
    """Sets (or with None or b"" removes) the output start trigger."""
    return int(_call("orvex_analogOutTrigger", source, level))


def orvex_analogWriteEx(idx: int, warray: CPointer, size: int, timeout: float) -> int:
    """Generates the block of ``size`` samples in ``warray`` until stopped."""
    return int(_call("orvex_analogWriteEx", idx, warray, size, timeout))


def orvex_analogWrite(idx: int, warray: CPointer, size: int) -> int:
    """:func:`orvex_analogWriteEx` with a timeout of 10 s."""
    return int(_call("orvex_analogWrite", idx, warray, size))


def orvex_analogOutStop(idx: int) -> int:
    """Stops the generating channel."""
    return int(_call("orvex_analogOutStop", idx))


def orvex_scanChannels(channels: bytes, range: float, terminal: int) -> int:
    """Sets the scan's channel list (such as b"ai0:3,ai8"), each channel with this range
    and terminal configuration."""
    return int(_call("orvex_scanChannels", channels, range, terminal))


def orvex_scanChannelSetup(channel: bytes, range: float, terminal: int) -> int:
    """Sets the range and terminal configuration of one channel of the list."""
    return int(_call("orvex_scanChannelSetup", channel, range, terminal))


def orvex_scanClock(rate: float) -> int:
    """Sets the scan's sample clock, in samples per second per channel."""
    return int(_call("orvex_scanClock", rate))


def orvex_scanTrigger(source: Optional[bytes], level: float, slope: int) -> int:
    """Sets (or with None or b"" removes) the scan's start trigger."""
    return int(_call("orvex_scanTrigger", source, level, slope))


def orvex_scanOutput(channels: Optional[bytes], data: CPointer, samplesPerChannel: int,
                     shareClock: int, rate: float) -> int:
    """Generates the block on b"ao0", b"ao1" or b"ao0:1" in step with the next scans
    (None: nothing)."""
    return int(_call("orvex_scanOutput", channels, data, samplesPerChannel, shareClock, rate))


def orvex_scanStart(samplesPerChannel: int) -> int:
    """Starts the scan: finite of this many samples per channel, or continuous for 0."""
    return int(_call("orvex_scanStart", samplesPerChannel))


def orvex_scanReadEx(data: CPointer, samplesPerChannel: int, layout: int, readCount: CPointer,
                     timeout: float) -> int:
    """Reads the scan's next ``samplesPerChannel`` samples of every channel into ``data``."""
    return int(_call("orvex_scanReadEx", data, samplesPerChannel, layout, readCount, timeout))


def orvex_scanAcquire(data: CPointer, samplesPerChannel: int, layout: int, readCount: CPointer,
                      timeout: float) -> int:
    """Starts a finite scan, reads all of it into ``data`` and stops it."""
    return int(_call("orvex_scanAcquire", data, samplesPerChannel, layout, readCount, timeout))


def orvex_scanStop() -> int:
    """Stops the scan and its in-step outputs; 1 when none ran."""
    return int(_call("orvex_scanStop"))


def orvex_scanChannel(index: int, channel: CPointer) -> int:
    """Fills ``channel`` (``ctypes.byref(orvex_ScanChannel())``) with channel ``index`` of
    the list."""
    return int(_call("orvex_scanChannel", index, channel))


def orvex_scanInfo(info: CPointer) -> int:
    """Fills ``info`` (``ctypes.byref(orvex_ScanInfo())``) with the scan's timing."""
    return int(_call("orvex_scanInfo", info))
