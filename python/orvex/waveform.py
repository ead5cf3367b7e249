"""The samples of a scan with what puts them on a time axis."""

from __future__ import annotations

from datetime import datetime, timezone
from typing import TYPE_CHECKING, Optional, Union

import numpy as np

from ._library import ScanInfo

if TYPE_CHECKING:
    import numpy.typing as npt

#: How the start time was taken, by ``orvex_ScanInfo.startTimeSource``.
TIME_SOURCES = ("unknown", "at_start", "from_count")


class Waveform:
    """Samples of several channels on one clock.

    ``data`` holds volts, one row per scan and one column per channel (samples x
    channels, C order: a scan's samples lie side by side); ``channels`` names the
    columns ("ai3") and ``ranges`` gives each one's board range, +-volts.
    ``start_time`` is the UTC time of the first row's first sample (None while the
    library does not know it), ``start_time_source`` says how the library took it
    ("at_start": the system clock around the driver's start; "from_count": a triggered
    scan, the clock around the driver's count of samples, counted back) and
    ``start_time_uncertainty`` how far either side it may be, in seconds.  ``interval``
    is the time between two rows and ``channel_step`` the time between the conversions
    of two neighbouring columns of a row.  ``first_scan`` counts the rows of the scan
    before this one (0 but for the later blocks of a stream).
    """

    __slots__ = ("data", "channels", "ranges", "start_time", "start_time_source",
                 "start_time_uncertainty", "interval", "channel_step", "first_scan")
    data: "npt.NDArray[np.float64]"
    channels: tuple[str, ...]
    ranges: tuple[float, ...]
    start_time: Optional[datetime]
    start_time_source: str
    start_time_uncertainty: float
    interval: float
    channel_step: float
    first_scan: int

    def __init__(self, data: "npt.NDArray[np.float64]", channels: list[str],
                 ranges: list[float], info: ScanInfo, first_scan: int = 0) -> None:
        self.data = data
        self.channels = tuple(channels)
        self.ranges = tuple(ranges)
        self.interval = info.interval
        self.channel_step = info.channelStep
        self.first_scan = first_scan
        source = info.startTimeSource
        self.start_time_source = TIME_SOURCES[source] if 0 <= source < 3 else "unknown"
        self.start_time_uncertainty = info.startTimeUncertainty
        self.start_time = None
        if self.start_time_source != "unknown":
            # From the scan's first sample, in seconds since 1970 as the library gives it,
            # so that the blocks of a stream do not add up rounding to microseconds.
            seconds = info.startTime + first_scan * info.interval
            self.start_time = datetime.fromtimestamp(seconds, timezone.utc)

    @property
    def rate(self) -> float:
        """Samples per second per channel."""
        return 1.0 / self.interval

    def column(self, channel: Union[str, int]) -> int:
        """The column of a channel, given by name ("ai3") or by position."""
        if isinstance(channel, str):
            try:
                return self.channels.index(channel)
            except ValueError:
                raise KeyError(f"{channel!r} is not among {', '.join(self.channels)}") from None
        if not -len(self.channels) <= channel < len(self.channels):
            raise IndexError(f"column {channel} of {len(self.channels)}")
        return channel % len(self.channels)

    def __getitem__(self, channel: Union[str, int]) -> "npt.NDArray[np.float64]":
        """One channel's samples (a view of its column)."""
        column: npt.NDArray[np.float64] = self.data[:, self.column(channel)]
        return column

    def times(self, channel: Optional[Union[str, int]] = None) -> "npt.NDArray[np.float64]":
        """Seconds from ``start_time`` to each row's first sample, or with ``channel`` to
        that channel's own samples (which come ``channel_step`` after each other)."""
        offset = 0.0 if channel is None else self.column(channel) * self.channel_step
        times: npt.NDArray[np.float64] = (np.arange(self.data.shape[0]) * self.interval
                                          + offset)
        return times

    def __len__(self) -> int:
        return int(self.data.shape[0])

    def __repr__(self) -> str:
        when = "unknown" if self.start_time is None else self.start_time.isoformat()
        return (f"<orvex.Waveform {self.data.shape[0]} scans of {', '.join(self.channels)} "
                f"every {self.interval:g} s from {when}>")
