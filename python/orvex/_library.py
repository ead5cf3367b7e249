"""Loading liborvex.so.0, the one lock around every call, and turning statuses into
exceptions and warnings."""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import threading
import warnings
from pathlib import Path
from typing import TYPE_CHECKING, NoReturn, Optional

from .errors import CheckError, DriverWarning, Error

if TYPE_CHECKING:
    from ctypes import _CData, _NamedFuncPointer

    import numpy as np
    import numpy.typing as npt

SONAME = "liborvex.so.0"

#: Serialises every call into the library, which keeps process-wide state and takes no
#: locks of its own.  Re-entrant, so that an operation made of several calls (a line
#: write is a read and a write) holds it across all of them.
lock = threading.RLock()


def library_path() -> str:
    """Where the library is loaded from: ``ORVEX_LIBRARY``, else the build tree beside
    this package when it runs from a checkout, else the system's library."""
    explicit = os.environ.get("ORVEX_LIBRARY")
    if explicit:
        return explicit
    built = Path(__file__).resolve().parents[2] / "build" / "orvex" / SONAME
    if built.is_file():
        return str(built)
    return ctypes.util.find_library("orvex") or SONAME


def _load() -> ctypes.CDLL:
    path = library_path()
    try:
        return ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(
            f"cannot load the orvex library {path!r} ({error}); install liborvex0 "
            "or name the library in ORVEX_LIBRARY"
        ) from error


library = _load()
#: The same library, called with the interpreter lock held: for the single-point calls,
#: which return at once, giving the lock away and back would cost more than the call.
library_holding_gil = ctypes.PyDLL(library._name)

_c_int = ctypes.c_int
_c_double = ctypes.c_double
_c_char_p = ctypes.c_char_p
_c_void_p = ctypes.c_void_p
_c_ubyte = ctypes.c_ubyte
_int_p = ctypes.POINTER(ctypes.c_int)
_double_p = ctypes.POINTER(ctypes.c_double)


class ScanInfo(ctypes.Structure):
    """``orvex_ScanInfo``: the scan's channels, clock and timing, as the driver runs them."""

    _fields_ = [
        ("channels", ctypes.c_int),
        ("running", ctypes.c_int),
        ("rate", ctypes.c_double),
        ("interval", ctypes.c_double),
        ("channelStep", ctypes.c_double),
        ("samplesRead", ctypes.c_longlong),
        ("startTime", ctypes.c_double),
        ("startTimeUncertainty", ctypes.c_double),
        ("startTimeSource", ctypes.c_int),
    ]


class ScanChannel(ctypes.Structure):
    """``orvex_ScanChannel``: one channel of the scan's list, as the driver gets it."""

    _fields_ = [
        ("name", ctypes.c_char * 16),
        ("input", ctypes.c_int),
        ("range", ctypes.c_double),
        ("terminal", ctypes.c_int),
    ]


# The C prototypes, checked by ctypes on every call through orvex.capi.
_prototypes: dict[str, tuple[Optional[type[_CData]], list[type[_CData]]]] = {
    "orvex_SetLastError": (_c_int, [_c_int]),
    "orvex_GetLastError": (_c_int, []),
    "orvex_GetLastErrorBuffer": (_c_void_p, []),
    "orvex_PrintLastError": (_c_int, []),
    "orvex_version": (_c_char_p, []),
    "orvex_driverLoad": (_c_int, []),
    "orvex_driverLibrary": (_c_char_p, []),
    "orvex_ni6251Slot": (_c_int, [_c_int]),
    "orvex_ni6251Close": (_c_int, []),
    "orvex_portMask": (_c_int, [_c_int, _c_ubyte]),
    "orvex_portOut": (_c_int, [_c_int, _c_ubyte]),
    "orvex_portIn": (_c_int, [_c_int, ctypes.POINTER(_c_ubyte)]),
    "orvex_analogOut": (_c_int, [_c_int, _c_double]),
    "orvex_analogIn": (_c_int, [_c_int, _double_p]),
    "orvex_analogInClk": (_c_int, [_c_char_p, _c_double]),
    "orvex_analogInTrigger": (_c_int, [_c_char_p, _c_double]),
    "orvex_analogReadEx": (_c_int, [_c_int, _double_p, _c_int, _int_p, _c_double]),
    "orvex_analogRead": (_c_int, [_c_int, _double_p, _c_int, _int_p]),
    "orvex_analogFetchEx": (_c_int, [_c_int, _double_p, _c_int, _int_p, _c_double]),
    "orvex_analogFetchStatus": (_c_int, []),
    "orvex_analogInStop": (_c_int, [_c_int]),
    "orvex_analogOutClk": (_c_int, [_c_char_p, _c_double]),
    "orvex_analogOutTrigger": (_c_int, [_c_char_p, _c_double]),
    "orvex_analogWriteEx": (_c_int, [_c_int, _double_p, _c_int, _c_double]),
    "orvex_analogWrite": (_c_int, [_c_int, _double_p, _c_int]),
    "orvex_analogOutStop": (_c_int, [_c_int]),
    "orvex_scanChannels": (_c_int, [_c_char_p, _c_double, _c_int]),
    "orvex_scanChannelSetup": (_c_int, [_c_char_p, _c_double, _c_int]),
    "orvex_scanClock": (_c_int, [_c_double]),
    "orvex_scanTrigger": (_c_int, [_c_char_p, _c_double, _c_int]),
    "orvex_scanOutput": (_c_int, [_c_char_p, _double_p, _c_int, _c_int, _c_double]),
    "orvex_scanStart": (_c_int, [ctypes.c_longlong]),
    "orvex_scanReadEx": (_c_int, [_double_p, _c_int, _c_int, _int_p, _c_double]),
    "orvex_scanAcquire": (_c_int, [_double_p, _c_int, _c_int, _int_p, _c_double]),
    "orvex_scanStop": (_c_int, []),
    "orvex_scanChannel": (_c_int, [_c_int, ctypes.POINTER(ScanChannel)]),
    "orvex_scanInfo": (_c_int, [ctypes.POINTER(ScanInfo)]),
}


def array_pointer(array: "npt.NDArray[np.float64]") -> ctypes.c_void_p:
    """The address of a contiguous array's first sample, for a raw call."""
    return ctypes.c_void_p(array.ctypes.data)


def typed(name: str) -> _NamedFuncPointer:
    """The C function with its prototype set, so ctypes checks and converts arguments."""
    function = library[name]
    function.restype, function.argtypes = _prototypes[name]
    return function


def raw(name: str, quick: bool = False) -> _NamedFuncPointer:
    """The C function without argument conversion, for the binding's own calls whose
    arguments are already checked and converted: it saves about half the call cost.
    A ``quick`` call keeps the interpreter lock; the others let other threads run while
    they wait for the board."""
    function = (library_holding_gil if quick else library)[name]
    function.restype = _prototypes[name][0]
    return function


_get_last_error_buffer = typed("orvex_GetLastErrorBuffer")


def last_error_text() -> str:
    """The library's error text; valid right after a failed call, under the lock."""
    text = ctypes.string_at(_get_last_error_buffer())
    return text.decode("utf-8", errors="replace")


def error(status: int, function: str) -> Error:
    """The exception for a negative status; make it under the lock, before any other
    library call overwrites the text."""
    kind = CheckError if status == -1 else Error
    return kind(status, last_error_text(), function)


def fail(status: int, function: str) -> NoReturn:
    """Raises the exception for a negative status, under the lock."""
    raise error(status, function)


def warn(status: int, function: str) -> None:
    """Issues the warning for a positive status other than 1 (which means that no
    driver call was needed).  Call it after the lock is released: a warning filter may
    run any code, including calls into this module."""
    if status > 1:
        warnings.warn(DriverWarning(status, function), stacklevel=3)


def check(status: int, function: str) -> int:
    """Raises for a negative status, else returns it; under the lock."""
    if status < 0:
        fail(status, function)
    return status
