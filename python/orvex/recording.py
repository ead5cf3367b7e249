"""Recordings in HDF5 (docs/recording-format.md): written through the recording library,
and read into numpy: the samples in volts, their time axis, the start time, the
channels, every attribute and the events.

    from orvex import recording
    files = recording.record_scan(board, "ai0:3", rate=1000, seconds=60, rotate_seconds=10)
    with recording.Recorder(["ai0", "ai1"], rate=1000) as rec:
        rec.append(block)                      # scans x channels, volts
    rec = recording.read("run-20240501T120000.h5")
    plt.plot(rec.time, rec.samples[:, 0])
    whole = recording.read_series("run-*.h5")  # rotated files as one

Files are opened as single-writer/multiple-reader readers do, so a file still being
written, or left by a recorder that was killed, opens as well as a closed one.  Reading
needs h5py (Debian's python3-h5py), imported only when a file is read; recording needs
liborvex_recording.so.0 (liborvex-recording0), loaded only when a recording begins.
"""

from __future__ import annotations

import glob
from dataclasses import dataclass
from datetime import datetime, timedelta, timezone
from typing import Any, Dict, List, Sequence, Union

import numpy as np
import numpy.typing as npt

from ._recorder import EVENT_KINDS, Channel, Recorder
from ._scan_recording import record_scan

__all__ = ["EVENT_KINDS", "Channel", "Event", "Recorder", "Recording", "read", "read_series",
           "record_scan"]


@dataclass(frozen=True)
class Event:
    """One row of a file's events table."""

    sample_index: int
    time_offset: float
    kind: str
    code: int
    duration: int
    text: str


@dataclass(frozen=True)
class Recording:
    """One file, or rotated files joined: ``samples[n, k]`` is channel k's n-th sample in
    volts, taken ``time[n]`` seconds after ``start_time``."""

    samples: npt.NDArray[np.float64]
    interval: float
    start_time: datetime
    first_sample_index: int
    channel_names: List[str]
    channels: List[Dict[str, Any]]
    attributes: Dict[str, Any]
    events: List[Event]

    @property
    def time(self) -> npt.NDArray[np.float64]:
        """Seconds since ``start_time`` of each sample."""
        return np.arange(self.samples.shape[0], dtype=np.float64) * self.interval


def _plain(value: Any) -> Any:
    """numpy scalars as Python's own, texts as str."""
    if isinstance(value, bytes):
        return value.decode("utf-8")
    if isinstance(value, np.generic):
        return value.item()
    return value


def _attributes(node: Any) -> Dict[str, Any]:
    return {name: _plain(value) for name, value in node.attrs.items()}


def _events(table: Any) -> List[Event]:
    import h5py

    names = {value: name for name, value in h5py.check_enum_dtype(table.dtype["kind"]).items()}
    return [Event(int(row["sample_index"]), float(row["time_offset"]), names[int(row["kind"])],
                  int(row["code"]), int(row["duration"]), _plain(row["text"]))
            for row in table[()]]


def read(path: str) -> Recording:
    """Reads one file."""
    import h5py

    with h5py.File(path, "r", swmr=True) as file:
        attributes = _attributes(file)
        channels = []
        for k in range(int(attributes["channel_count"])):
            group = file["channels"][str(k)]
            channel = _attributes(group)
            channel["calibration"] = _attributes(group["calibration"])
            channels.append(channel)
        stored = file["samples"][()]
        events = _events(file["events"])
    samples = stored.astype(np.float64)
    if attributes["sample_format"] == "int16":
        samples = (samples * np.array([c["scale"] for c in channels])
                   + np.array([c["offset"] for c in channels]))
    return Recording(
        samples=samples, interval=float(attributes["sample_interval"]),
        start_time=(datetime(1970, 1, 1, tzinfo=timezone.utc)
                    + timedelta(seconds=float(attributes["start_time_epoch"]))),
        first_sample_index=int(attributes["first_sample_index"]),
        channel_names=[c["name"] for c in channels], channels=channels,
        attributes=attributes, events=events)


def read_series(paths: Union[str, Sequence[str]]) -> Recording:
    """Reads the rotated files of one recording as one, given as paths or a glob pattern.
    Raises ValueError when the files do not join: samples missing or doubled between
    them, or files of different recordings."""
    names = sorted(glob.glob(paths)) if isinstance(paths, str) else list(paths)
    if not names:
        raise ValueError(f"no files: {paths!r}")
    parts = sorted((read(name) for name in names), key=lambda part: part.first_sample_index)
    first = parts[0]
    for before, after in zip(parts, parts[1:]):
        if after.attributes["recording_start_time_epoch"] != \
                first.attributes["recording_start_time_epoch"] or \
                after.channel_names != first.channel_names:
            raise ValueError("the files are of different recordings")
        expected = before.first_sample_index + before.samples.shape[0]
        if after.first_sample_index != expected:
            raise ValueError(f"the files do not join: sample {after.first_sample_index} "
                             f"follows sample {expected - 1}")
    return Recording(
        samples=np.concatenate([part.samples for part in parts]), interval=first.interval,
        start_time=first.start_time, first_sample_index=first.first_sample_index,
        channel_names=first.channel_names, channels=first.channels,
        attributes=first.attributes, events=[e for part in parts for e in part.events])
