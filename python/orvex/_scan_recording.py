"""A scan of the board recorded straight into files, described as the library runs it:
the board widens ranges and rounds the clock, so the files say what was measured."""

from __future__ import annotations

import ctypes
import threading
from typing import TYPE_CHECKING, Any, List, Optional

from ._library import ScanChannel, lock, typed
from ._recorder import Channel, Recorder
from ._scan_setup import Channels
from .waveform import Waveform

if TYPE_CHECKING:
    from .board import Board

_TERMINALS = ("RSE", "NRSE", "DIFF")
_scanChannel = typed("orvex_scanChannel")


def _running_channels(wave: Waveform) -> List[Channel]:
    """The scan's channels with the wiring the library set up, read while it runs."""
    channels = []
    with lock:
        for k, (name, board_range) in enumerate(zip(wave.channels, wave.ranges)):
            channel = ScanChannel()
            terminal = "RSE"
            if _scanChannel(k, ctypes.byref(channel)) == 0 and 0 <= channel.terminal < 3:
                terminal = _TERMINALS[channel.terminal]
            channels.append(Channel(name, range=board_range, terminal=terminal))
    return channels


def _open(board: "Board", wave: Waveform, options: Any) -> Recorder:
    from . import driver_library

    start = wave.start_time.timestamp() if wave.start_time is not None else None
    return Recorder(
        _running_channels(wave), interval=wave.interval, start_time=start,
        start_time_source=wave.start_time_source.replace("_", " "),
        start_time_uncertainty=wave.start_time_uncertainty,
        provenance={"board": f"PXI1Slot{board.slot}", "slot": board.slot,
                    "driver": driver_library()},
        attributes={"channel_step": wave.channel_step}, **options)


def record_scan(board: "Board", channels: Channels, rate: float, *,
                seconds: Optional[float] = None, stop: Optional[threading.Event] = None,
                block: Optional[int] = None, format: str = "float32", directory: str = ".",
                pattern: Optional[str] = None, rotate_seconds: float = 0.0,
                rotate_bytes: int = 0, notes: str = "", **scan_options: Any) -> List[str]:
    """Scans ``channels`` at ``rate`` and records every scan into files until
    ``seconds`` of board time are recorded, ``stop`` (a ``threading.Event``) is set, or
    Ctrl-C; returns the files.  The scan is :meth:`orvex.Board.scan_stream`'s, read in
    blocks of ``block`` scans (a tenth of a second by default), with its keywords in
    ``scan_options``; ``format`` is "float32" or "float64".  The files are closed
    however the run ends; a failed block or file raises its error after that."""
    if format not in ("float32", "float64"):
        raise ValueError(f"a scan records as float32 or float64, not {format!r}")
    options = {"format": format, "directory": directory, "pattern": pattern,
               "rotate_seconds": rotate_seconds, "rotate_bytes": rotate_bytes, "notes": notes}
    scans = block if block is not None else max(1, round(rate / 10))
    recorder: Optional[Recorder] = None
    try:
        with board.scan_stream(channels, rate, scans, **scan_options) as stream:
            for wave in stream:
                if recorder is None:
                    recorder = _open(board, wave, options)
                wanted = wave.data.shape[0]
                if seconds is not None:
                    wanted = min(wanted, round(seconds / wave.interval) - recorder.samples)
                recorder.append(wave.data[:wanted])
                if seconds is not None and recorder.samples >= round(seconds / wave.interval):
                    break
                if stop is not None and stop.is_set():
                    break
    finally:
        if recorder is not None:
            recorder.close()
    return recorder.files if recorder is not None else []
