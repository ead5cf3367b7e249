"""Loading liborvex_recording.so.0, the recording library's C face, on the first
recording: ``import orvex`` works where it is not installed."""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import threading
from pathlib import Path
from typing import Optional

SONAME = "liborvex_recording.so.0"

_loaded: Optional[ctypes.CDLL] = None
_loading = threading.Lock()

_c_int = ctypes.c_int
_c_int64 = ctypes.c_int64
_c_char_p = ctypes.c_char_p
_c_void_p = ctypes.c_void_p

_prototypes = {
    "orvex_recordingOpen": (_c_int, [_c_char_p, ctypes.POINTER(_c_void_p), _c_char_p,
                                     ctypes.c_size_t]),
    "orvex_recordingAppendF32": (_c_int, [_c_void_p, _c_void_p, _c_int64]),
    "orvex_recordingAppendF64": (_c_int, [_c_void_p, _c_void_p, _c_int64]),
    "orvex_recordingAppendI16": (_c_int, [_c_void_p, _c_void_p, _c_int64]),
    "orvex_recordingEvent": (_c_int, [_c_void_p, _c_int, _c_int64, ctypes.c_int32, _c_int64,
                                      _c_char_p]),
    "orvex_recordingRotate": (_c_int, [_c_void_p]),
    "orvex_recordingFlush": (_c_int, [_c_void_p]),
    "orvex_recordingClose": (_c_int, [_c_void_p]),
    "orvex_recordingSamples": (_c_int64, [_c_void_p]),
    "orvex_recordingFile": (_c_char_p, [_c_void_p, _c_int64]),
    "orvex_recordingError": (_c_char_p, [_c_void_p]),
    "orvex_recordingFree": (None, [_c_void_p]),
}


def library_path() -> str:
    """Where the recording library is loaded from: ``ORVEX_RECORDING_LIBRARY``, else the
    build tree beside this package when it runs from a checkout, else the system's."""
    explicit = os.environ.get("ORVEX_RECORDING_LIBRARY")
    if explicit:
        return explicit
    built = Path(__file__).resolve().parents[2] / "build" / "tools" / "recording" / SONAME
    if built.is_file():
        return str(built)
    return ctypes.util.find_library("orvex_recording") or SONAME


def library() -> ctypes.CDLL:
    """The recording library with its prototypes set, loaded once.  Raises ImportError
    naming the package to install when it cannot be loaded."""
    global _loaded
    with _loading:
        if _loaded is None:
            path = library_path()
            try:
                loaded = ctypes.CDLL(path)
            except OSError as error:
                raise ImportError(
                    f"cannot load the recording library {path!r} ({error}); install "
                    "liborvex-recording0 or name the library in ORVEX_RECORDING_LIBRARY"
                ) from error
            for name, (result, arguments) in _prototypes.items():
                function = getattr(loaded, name)
                function.restype, function.argtypes = result, arguments
            _loaded = loaded
        return _loaded
