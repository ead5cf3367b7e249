"""A scan's set-up from the keywords of ``Board.scan()`` and ``Board.scan_stream()``:
checked in Python where the C interface cannot (types, the board's rate limit, the
in-step outputs), then stored by the library's set-up calls, which check the channel
list and ranges themselves and touch no board.  The library keeps one set-up for the
process, so every scan stores its own whole, under the lock, right before it starts."""

from __future__ import annotations

import ctypes
import re
from typing import TYPE_CHECKING, Mapping, Optional, Sequence, Union

import numpy as np

from ._arguments import INT_MAX, integer, real, rate as as_rate
from ._library import ScanChannel, ScanInfo, array_pointer, fail, raw

if TYPE_CHECKING:
    import numpy.typing as npt

_scanChannels = raw("orvex_scanChannels")
_scanChannelSetup = raw("orvex_scanChannelSetup")
_scanClock = raw("orvex_scanClock")
_scanTrigger = raw("orvex_scanTrigger")
_scanOutput = raw("orvex_scanOutput")
_scanChannel = raw("orvex_scanChannel")
_scanInfo = raw("orvex_scanInfo")

#: Terminal configurations by name, as ``orvex.h`` numbers them.
TERMINALS = {"rse": 0, "nrse": 1, "diff": 2}
#: Trigger slopes by name.
SLOPES = {"rising": 0, "falling": 1}
#: The widest range, volts either side of 0.
MAX_RANGE = 10.0
#: Samples per second of a scan of one channel, and of several in all: the board
#: family's datasheet limits, which the driver enforces only once the scan starts.
SINGLE_CHANNEL_LIMIT = 1.25e6
AGGREGATE_LIMIT = 1.0e6

#: Channels as the keyword takes them: "ai0:3,ai8", an input number, or a sequence of both.
Channels = Union[str, int, Sequence[Union[str, int]]]
#: A terminal configuration: "rse", "nrse", "diff" (any case) or its C number
#: (orvex.ORVEX_RSE, ...); a slope likewise "rising", "falling" or its number.
Terminal = Union[str, int]
Slope = Union[str, int]

_ENTRY = re.compile(r"(?P<device>.*/)?ai(?P<first>\d+)(?::(?P<last>\d+))?", re.IGNORECASE)


def _channel_text(channel: Union[str, int], name: str) -> str:
    if isinstance(channel, str):
        return channel.strip()
    return f"ai{integer(channel, name, 0)}"


def channel_list(channels: Channels) -> str:
    """The channel list in the driver's syntax."""
    if isinstance(channels, (str, int)):
        return _channel_text(channels, "channels")
    return ",".join(_channel_text(channel, "channels") for channel in channels)


def channel_names(text: str) -> list[str]:
    """The names of the channels of a list the library accepted, in its order:
    "PXI1Slot2/ai0:1,ai8" gives "PXI1Slot2/ai0", "PXI1Slot2/ai1" and "ai8"."""
    names = []
    for entry in text.split(","):
        found = _ENTRY.fullmatch(entry.strip())
        if found is None:
            raise ValueError(f"{entry.strip()!r} is not an analog input such as ai3 or ai0:3")
        first = int(found["first"])
        last = first if found["last"] is None else int(found["last"])
        step = 1 if last >= first else -1
        device = found["device"] or ""
        names += [f"{device}ai{number}" for number in range(first, last + step, step)]
    return names


def volts_range(value: object) -> float:
    number = real(value, "range")
    if not 0.0 < number <= MAX_RANGE:
        raise ValueError(f"range must be above 0 and at most {MAX_RANGE:g} V, not {number:g}")
    return number


def named(value: Union[str, int], names: Mapping[str, int], what: str) -> int:
    """A C constant given by its name in ``names`` (any case) or its number."""
    number = names.get(value.lower(), -1) if isinstance(value, str) else integer(value, what)
    if number not in names.values():
        raise ValueError(f"{what} must be one of {', '.join(names)}, not {value!r}")
    return number


def check_rate(rate: float, channels: int) -> None:
    """Refuses a clock above the board's limit for this many channels."""
    if channels == 1 and rate > SINGLE_CHANNEL_LIMIT:
        raise ValueError(f"rate {rate:g} S/s is above the board's {SINGLE_CHANNEL_LIMIT:g} S/s "
                         "for a scan of one channel")
    if channels > 1 and rate * channels > AGGREGATE_LIMIT:
        raise ValueError(f"rate {rate:g} S/s on {channels} channels is above the board's "
                         f"{AGGREGATE_LIMIT:g} S/s in all (at most "
                         f"{AGGREGATE_LIMIT / channels:g} S/s per channel)")


class InStep:
    """A block of volts that an analog output generates in step with a scan: started by
    the scan's start, on the scan's sample clock (one output sample per scan) with
    ``share_clock``, else on its own clock at ``rate``.  Made by
    ``board.ao(n).in_step()``; the block repeats until the scan stops."""

    __slots__ = ("channel", "samples", "share_clock", "rate")
    channel: int
    samples: "npt.NDArray[np.float64]"
    share_clock: bool
    rate: Optional[float]

    def __init__(self, channel: int, samples: "npt.ArrayLike", share_clock: bool = True,
                 rate: Optional[float] = None) -> None:
        self.channel = integer(channel, "channel", 0, 1)
        data = np.ascontiguousarray(samples, dtype=np.float64)
        if data.ndim != 1 or not 0 < data.size <= INT_MAX:
            raise ValueError(f"samples must be one non-empty row of volts, not shape {data.shape}")
        if share_clock and rate is not None:
            raise ValueError("rate is for an output on its own clock (share_clock=False)")
        if not share_clock and rate is None:
            raise ValueError("an output on its own clock (share_clock=False) needs a rate")
        self.samples = data
        self.share_clock = bool(share_clock)
        self.rate = None if rate is None else as_rate(rate)

    def __repr__(self) -> str:
        clock = "the scan's clock" if self.share_clock else f"{self.rate:g} S/s"
        return f"<orvex.InStep ao{self.channel}, {self.samples.size} samples on {clock}>"


def _joined(outputs: Sequence[InStep]) -> tuple[bytes, "npt.NDArray[np.float64]", InStep]:
    """The library's one call for ao0, ao1 or both: the blocks grouped by channel."""
    ordered = sorted(outputs, key=lambda output: output.channel)
    first = ordered[0]
    if len(ordered) == 2:
        second = ordered[1]
        if second.channel == first.channel:
            raise ValueError(f"ao{first.channel} is given twice in step with the scan")
        if (second.samples.size, second.share_clock, second.rate) != (
                first.samples.size, first.share_clock, first.rate):
            raise ValueError("ao0 and ao1 in step need blocks of one length on one clock")
        return b"ao0:1", np.concatenate([first.samples, second.samples]), first
    if len(ordered) > 2:
        raise ValueError("at most ao0 and ao1 can be generated in step with a scan")
    return f"ao{first.channel}".encode("ascii"), first.samples, first


class ScanSetup:
    """The checked keywords of one scan, stored into the library by :meth:`store`."""

    __slots__ = ("channels", "names", "_range", "_terminal", "_per_channel", "rate", "_trigger",
                 "_level", "_slope", "_output")
    channels: bytes
    names: list[str]
    rate: float

    def __init__(self, channels: Channels, rate: float, range: float = MAX_RANGE,
                 ranges: Optional[Mapping[Union[str, int], float]] = None,
                 terminal: Terminal = "rse",
                 terminals: Optional[Mapping[Union[str, int], Terminal]] = None,
                 trigger: Optional[Union[str, int]] = None, level: float = 0.0,
                 slope: Slope = "rising",
                 output: Optional[Union[InStep, Sequence[InStep]]] = None) -> None:
        text = channel_list(channels)
        self.channels = text.encode("utf-8")
        self.names = channel_names(text)
        self.rate = as_rate(rate)
        check_rate(self.rate, len(self.names))
        self._range = volts_range(range)
        self._terminal = named(terminal, TERMINALS, "terminal")
        self._per_channel = self._per_channel_setup(ranges or {}, terminals or {})
        self._trigger = None if trigger is None else _channel_text(trigger, "trigger").encode()
        self._level = real(level, "level")
        self._slope = named(slope, SLOPES, "slope")
        self._output = None
        if output is not None:
            outputs = [output] if isinstance(output, InStep) else list(output)
            if not all(isinstance(each, InStep) for each in outputs) or not outputs:
                raise TypeError("output must be board.ao(n).in_step(...) or a list of them")
            self._output = _joined(outputs)

    def _per_channel_setup(self, ranges: Mapping[Union[str, int], float],
                           terminals: Mapping[Union[str, int], Terminal]
                           ) -> dict[bytes, tuple[float, int]]:
        """The range and terminal configuration of each channel named in either mapping."""
        by_name = {_channel_text(key, "ranges"): volts_range(value)
                   for key, value in ranges.items()}
        wiring = {_channel_text(key, "terminals"): named(value, TERMINALS, "terminal")
                  for key, value in terminals.items()}
        return {name.encode("utf-8"): (by_name.get(name, self._range),
                                       wiring.get(name, self._terminal))
                for name in {**by_name, **wiring}}

    def store(self) -> None:
        """Stores the set-up in the library, whose checks raise ``orvex.CheckError`` (an
        unknown channel, one listed twice, a differential partner in the list).  Under
        the lock."""
        _stored(_scanChannels(self.channels, ctypes.c_double(self._range), self._terminal),
                "orvex_scanChannels")
        for name, (volts, wiring) in self._per_channel.items():
            _stored(_scanChannelSetup(name, ctypes.c_double(volts), wiring),
                    "orvex_scanChannelSetup")
        _stored(_scanClock(ctypes.c_double(self.rate)), "orvex_scanClock")
        _stored(_scanTrigger(self._trigger, ctypes.c_double(self._level), self._slope),
                "orvex_scanTrigger")
        if self._output is None:
            _stored(_scanOutput(None, None, 0, 0, ctypes.c_double(0.0)), "orvex_scanOutput")
        else:
            outputs, data, clocking = self._output
            rate = 0.0 if clocking.rate is None else clocking.rate
            _stored(_scanOutput(outputs, array_pointer(data), clocking.samples.size,
                                int(clocking.share_clock), ctypes.c_double(rate)),
                    "orvex_scanOutput")


def _stored(status: int, function: str) -> None:
    if status < 0:
        fail(status, function)


def scan_info() -> ScanInfo:
    """The library's ``orvex_ScanInfo``; under the lock."""
    info = ScanInfo()
    _stored(_scanInfo(ctypes.byref(info)), "orvex_scanInfo")
    return info


def started_channels(expected: int) -> tuple[list[str], list[float]]:
    """The names and board ranges of the channels of the scan just started; under the
    lock.  The buffers are sized by the list as Python read it, so a library that runs
    another number of channels must not be given them."""
    channels = scan_info().channels
    if channels != expected:
        raise RuntimeError(f"the library scans {channels} channels, not the {expected} listed")
    channel = ScanChannel()
    names, ranges = [], []
    for index in range(expected):
        _stored(_scanChannel(index, ctypes.byref(channel)), "orvex_scanChannel")
        names.append(channel.name.decode("utf-8", errors="replace"))
        ranges.append(channel.range)
    return names, ranges
