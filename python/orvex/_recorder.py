"""Recording from Python: the recording library (liborvex_recording.so.0) writes the
files, so that they are the same as those of the terminal tool and the window."""

from __future__ import annotations

import ctypes
import json
import os
import socket
import sys
import time
import weakref
from dataclasses import dataclass, field
from datetime import datetime
from typing import Any, Dict, List, Mapping, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

from ._closing import ClosesAtEnd
from ._recording_library import library
from .errors import CheckError, RecordingError
from .waveform import Waveform

#: The events table's kinds, by their stored values.
EVENT_KINDS = ("start", "stop", "trigger", "driver_error", "retry", "gap", "rotation")
_SAMPLE_TYPES = {"float32": np.float32, "float64": np.float64, "int16": np.int16}
_APPENDS = {"float32": "orvex_recordingAppendF32", "float64": "orvex_recordingAppendF64",
            "int16": "orvex_recordingAppendI16"}
_REFUSED = -1
_ERROR_SIZE = 1024


@dataclass(frozen=True)
class Channel:
    """One column of a recording: an input's ``name``, its board ``range`` (+-volts) and
    ``terminal`` wiring ("RSE", "NRSE", "DIFF", or "" for no input), the ``units`` of its
    values, the ``scale`` and ``offset`` that turn int16 codes into them, and free
    ``calibration`` numbers."""

    name: str
    range: float = 10.0
    terminal: str = "RSE"
    units: str = "V"
    scale: float = 1.0
    offset: float = 0.0
    calibration: Mapping[str, float] = field(default_factory=dict)

    def description(self) -> Dict[str, Any]:
        return {"name": self.name, "range": self.range, "terminal": self.terminal,
                "units": self.units, "scale": self.scale, "offset": self.offset,
                "calibration": dict(self.calibration)}


def _epoch(start_time: Union[datetime, float, None]) -> float:
    if start_time is None:
        return time.time()
    if isinstance(start_time, datetime):
        if start_time.tzinfo is None:
            raise ValueError("start_time must be an aware datetime (tzinfo=timezone.utc)")
        return start_time.timestamp()
    return float(start_time)


def _interval(rate: Optional[float], interval: Optional[float]) -> float:
    if (rate is None) == (interval is None):
        raise TypeError("give either rate or interval")
    if interval is not None:
        return float(interval)
    assert rate is not None
    return 1.0 / float(rate) if rate else 0.0


def _provenance(given: Optional[Mapping[str, Union[str, int]]],
                notes: str) -> Dict[str, Union[str, int]]:
    from . import __version__, library_version

    provenance: Dict[str, Union[str, int]] = {
        "program": os.path.basename(sys.argv[0]) if sys.argv and sys.argv[0] else "python",
        "program_version": __version__, "library_version": library_version(),
        "host": socket.gethostname(), "notes": notes}
    provenance.update(given or {})
    return provenance


def _free(handle: int) -> None:
    library().orvex_recordingFree(handle)


class Recorder(ClosesAtEnd):
    """Writes samples into recording files (docs/recording-format.md), rotated by board
    time or size, flushed at least every ``flush_seconds`` of samples, readable by
    others while they grow.  A context manager: leaving the ``with`` block closes the
    recording.

        with orvex.recording.Recorder(["ai0", "ai1"], rate=1000, directory="runs",
                                      rotate_seconds=3600, notes="cell 4") as rec:
            rec.append(block)          # scans x channels, volts
            rec.event("trigger", text="valve opened")
        rec.files                      # the files written

    ``channels`` are names or :class:`Channel` s; give ``rate`` (per channel) or
    ``interval``.  ``start_time`` is the first sample's UTC time (an aware datetime or
    seconds since 1970; now when left out), ``start_time_source`` says how it was taken
    ("at start", "from count", "unknown").  ``format`` is "float32", "float64" or
    "int16" (the board's codes, with each channel's scale and offset).  ``pattern`` names
    the files from their start time (``%Y%m%d %H%M%S``, ``%f`` microseconds, ``%n`` the
    file's number).  ``provenance`` may set "board", "slot", "driver", "program",
    "program_version", "library_version" and "host"; ``attributes`` adds texts and
    numbers of the caller's own to every file.

    A configuration the library refuses raises :class:`orvex.CheckError` naming the
    fault; files that cannot be written raise :class:`orvex.RecordingError`, after which
    the recording is over.  Needs liborvex_recording.so.0 (ImportError without it).
    One thread at a time.
    """

    __slots__ = ("_handle", "_format", "_channels", "_finalizer", "_closed", "_failed",
                 "__weakref__")

    def __init__(self, channels: Sequence[Union[str, Channel]], *,
                 rate: Optional[float] = None, interval: Optional[float] = None,
                 start_time: Union[datetime, float, None] = None,
                 start_time_source: str = "unknown", start_time_uncertainty: float = 0.0,
                 format: str = "float32", directory: Union[str, "os.PathLike[str]"] = ".",
                 pattern: Optional[str] = None, rotate_seconds: float = 0.0,
                 rotate_bytes: int = 0, flush_seconds: float = 0.5, notes: str = "",
                 provenance: Optional[Mapping[str, Union[str, int]]] = None,
                 attributes: Optional[Mapping[str, Union[str, float]]] = None) -> None:
        if format not in _SAMPLE_TYPES:
            raise ValueError(f"format must be one of {', '.join(_SAMPLE_TYPES)}, not {format!r}")
        described = [Channel(c) if isinstance(c, str) else c for c in channels]
        extra = dict(attributes or {})
        config: Dict[str, Any] = {
            "channels": [channel.description() for channel in described],
            "interval": _interval(rate, interval),
            "start": {"epoch": _epoch(start_time), "source": start_time_source,
                      "uncertainty": start_time_uncertainty},
            "format": format, "directory": os.fspath(directory),
            "rotation": {"seconds": rotate_seconds, "bytes": rotate_bytes},
            "flush_seconds": flush_seconds, "provenance": _provenance(provenance, notes),
            "texts": {k: v for k, v in extra.items() if isinstance(v, str)},
            "numbers": {k: v for k, v in extra.items() if not isinstance(v, str)}}
        if pattern is not None:
            config["pattern"] = pattern
        error = ctypes.create_string_buffer(_ERROR_SIZE)
        opened = ctypes.c_void_p()
        status = library().orvex_recordingOpen(json.dumps(config).encode("utf-8"),
                                               ctypes.byref(opened), error, _ERROR_SIZE)
        if status < 0:
            kind = CheckError if status == _REFUSED else RecordingError
            raise kind(status, error.value.decode("utf-8", errors="replace"),
                       "orvex_recordingOpen")
        assert opened.value is not None
        handle: int = opened.value
        self._handle = handle
        self._format = format
        self._channels = len(described)
        self._finalizer = weakref.finalize(self, _free, handle)
        self._closed = False
        self._failed = False

    def _call(self, name: str, *arguments: Any) -> None:
        if self._closed:
            raise ValueError("the recording is closed")
        status = getattr(library(), name)(self._handle, *arguments)
        if status < 0:
            text = library().orvex_recordingError(self._handle).decode("utf-8", errors="replace")
            if status == _REFUSED:
                raise CheckError(status, text, name)
            self._failed = True
            raise RecordingError(status, text, name)

    def append(self, scans: Union[Waveform, "npt.ArrayLike"]) -> None:
        """Appends scans: a 2-D array of scans x channels (or one scan of each channel),
        or a :class:`orvex.Waveform`, in volts for float formats and as codes for int16."""
        values = scans.data if isinstance(scans, Waveform) else scans
        sample_type = _SAMPLE_TYPES[self._format]
        array = np.asarray(values)
        if self._format == "int16" and array.dtype != np.int16:
            if not np.issubdtype(array.dtype, np.integer):
                raise TypeError(f"int16 recordings take integer codes, not {array.dtype}")
            if array.size and (array.min() < -32768 or array.max() > 32767):
                raise ValueError("codes must be within -32768 to 32767")
        array = np.ascontiguousarray(array, dtype=sample_type)
        if array.ndim == 1:
            array = array.reshape(1, -1)
        if array.ndim != 2 or array.shape[1] != self._channels:
            raise ValueError(f"scans must be scans x {self._channels} channels, "
                             f"not of shape {np.shape(values)}")
        self._call(_APPENDS[self._format], array.ctypes.data, array.shape[0])

    def event(self, kind: str, *, sample_index: Optional[int] = None, code: int = 0,
              duration: int = 0, text: str = "") -> None:
        """Records an event of a kind of :data:`EVENT_KINDS` at a sample of the whole
        recording (the samples appended so far when left out); ``duration`` counts the
        samples missing, for a "gap"."""
        if kind not in EVENT_KINDS:
            raise ValueError(f"kind must be one of {', '.join(EVENT_KINDS)}, not {kind!r}")
        index = -1 if sample_index is None else sample_index
        self._call("orvex_recordingEvent", EVENT_KINDS.index(kind), index, code, duration,
                   text.encode("utf-8"))

    def rotate(self) -> None:
        """Ends the current file after the samples appended so far."""
        self._call("orvex_recordingRotate")

    def flush(self) -> None:
        """Makes everything appended so far readable, and safe against a crash."""
        self._call("orvex_recordingFlush")

    def close(self) -> None:
        """Records the stop event and closes the last file; a failure raises
        :class:`orvex.RecordingError`.  Closing again, or after a failure that was
        raised already, does nothing more."""
        if self._closed:
            return
        try:
            if not self._failed:
                self._call("orvex_recordingClose")
        finally:
            self._closed = True

    @property
    def closed(self) -> bool:
        return self._closed

    @property
    def samples(self) -> int:
        """The scans appended so far, in the whole recording."""
        return int(library().orvex_recordingSamples(self._handle))

    @property
    def files(self) -> List[str]:
        """Every file of the recording so far, oldest first."""
        names: List[str] = []
        while True:
            name = library().orvex_recordingFile(self._handle, len(names))
            if name is None:
                return names
            names.append(os.fsdecode(name))

    def __repr__(self) -> str:
        state = "closed" if self._closed else "open"
        return f"<orvex.recording.Recorder {state}, {self.samples} scans, {len(self.files)} files>"
