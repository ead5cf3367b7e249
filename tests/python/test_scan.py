"""Scans of several inputs on one clock, over the stand: ao0 wired to ai0 and ao1 to ai1,
the joystick on ai2 and ai3, and voltages put on other inputs."""

from datetime import datetime, timedelta, timezone
from typing import Any, Iterator

import numpy as np
import numpy.typing as npt
import pytest

import orvex
from orvex import simboard
from conftest import Journal

Volts = npt.NDArray[np.float64]

RATE = 100_000.0
PERIOD = 100  # samples of the generated sine: 1 kHz


def sine(amplitude: float = 5.0, periods: int = 10) -> Volts:
    wave: Volts = amplitude * np.sin(2 * np.pi * np.arange(periods * PERIOD) / PERIOD)
    return wave


def sine_amplitude(samples: Volts) -> float:
    phase = 2 * np.pi * np.arange(samples.size) / PERIOD
    basis = np.column_stack([np.sin(phase), np.cos(phase)])
    coefficients, *_ = np.linalg.lstsq(basis, samples, rcond=None)
    return float(np.hypot(*coefficients))


@pytest.fixture
def stand(board: orvex.Board) -> Iterator[orvex.Board]:
    """The joystick powered and held, and 1.25 V on ai5."""
    board.port(2).mask = 0x01
    board.line(2, 0).value = 1
    simboard.hold_joystick(2.5, 1.0)
    simboard.set_analog_input(5, 1.25)
    yield board
    simboard.reset()


def test_four_channels_each_read_their_own_signal(stand: orvex.Board) -> None:
    before = datetime.now(timezone.utc)
    scan = stand.scan("ai0,ai2:3,ai5", RATE, 2000, output=stand.ao(0).in_step(sine()))
    assert scan.data.shape == (2000, 4) and scan.data.dtype == np.float64
    assert scan.data.flags.c_contiguous and scan.channels == ("ai0", "ai2", "ai3", "ai5")
    assert sine_amplitude(scan["ai0"]) == pytest.approx(5.0, rel=0.01)
    for name, volts in (("ai2", 2.5), ("ai3", 1.0), ("ai5", 1.25)):
        assert np.all(np.abs(scan[name] - volts) < 0.01), name
    # The time axis: the start from the system clock, the rows 1/rate apart, the channels
    # of one row converted one after another.
    assert scan.start_time is not None and scan.start_time.tzinfo == timezone.utc
    assert before - timedelta(seconds=1) <= scan.start_time <= datetime.now(timezone.utc)
    assert scan.start_time_source == "at_start" and 0 <= scan.start_time_uncertainty < 1
    assert scan.interval == pytest.approx(1 / RATE) and scan.rate == pytest.approx(RATE)
    assert 0 < scan.channel_step <= scan.interval / 4
    assert scan.times()[:3] == pytest.approx([0.0, 1e-5, 2e-5])
    assert scan.times("ai3")[1] == pytest.approx(1e-5 + 2 * scan.channel_step)
    assert len(scan) == 2000 and scan.first_scan == 0 and scan.ranges == (10.0,) * 4
    with pytest.raises(KeyError, match="'ai1' is not among ai0, ai2, ai3, ai5"):
        scan["ai1"]


@pytest.mark.parametrize("channels, names", [
    ("ai0:3,ai8", ["ai0", "ai1", "ai2", "ai3", "ai8"]),
    ("ai3:1", ["ai3", "ai2", "ai1"]),
    ("PXI1Slot2/ai6:7", ["ai6", "ai7"]),
    ([15, "ai4"], ["ai15", "ai4"]),
    (9, ["ai9"]),
])
def test_channel_lists_name_the_columns(board: orvex.Board, channels: Any,
                                        names: list[str]) -> None:
    scan = board.scan(channels, 1000.0, 5)
    assert list(scan.channels) == names and scan.data.shape == (5, len(names))


def test_each_channel_has_its_own_range_and_wiring(board: orvex.Board) -> None:
    for channel, volts in ((5, 0.05), (6, 0.2), (4, 1.0), (12, 0.25)):
        simboard.set_analog_input(channel, volts)
    scan = board.scan("ai4:6", 1000.0, 10, ranges={"ai5": 0.1, 6: 0.1},
                      terminals={"ai4": "diff"})
    assert np.all(np.abs(scan["ai5"] - 0.05) < 10e-6)  # the resolution of +-0.1 V
    assert np.all(scan["ai6"] == pytest.approx(0.1, abs=10e-6))  # the range's end
    assert np.all(scan["ai4"] == pytest.approx(0.75, abs=1e-3))  # ai4 against ai12
    simboard.reset()


def test_a_triggered_scan_starts_at_the_level_and_times_its_start_from_the_count(
        board: orvex.Board) -> None:
    board.ao(0).generate(sine(), RATE)
    scan = board.scan("ai0:1", 50_000.0, 50, trigger="ai0", level=2.5)
    assert scan["ai0"][0] == pytest.approx(2.5, abs=0.7) and scan["ai0"][1] > scan["ai0"][0]
    assert scan.start_time is not None and scan.start_time_source == "from_count"
    falling = board.scan([0], 50_000.0, 50, trigger=0, level=2.5, slope="falling")
    assert falling["ai0"][1] < falling["ai0"][0]
    board.ao(0).stop()


@pytest.mark.parametrize("share_clock", [True, False])
def test_a_step_in_step_appears_at_the_same_index_in_every_run(
        board: orvex.Board, share_clock: bool) -> None:
    step = np.zeros(2000)
    step[1000:] = 2.0
    other = np.zeros(2000)
    other[500:] = -1.0
    rate = None if share_clock else RATE
    outputs = [board.ao(0).in_step(step, share_clock, rate),
               board.ao(1).in_step(other, share_clock, rate)]
    for _ in range(5):
        board.ao(0).write(0.0)
        board.ao(1).write(0.0)
        scan = board.scan("ai0:1", RATE, 2000, output=outputs)
        assert int(np.argmax(scan["ai0"] > 1.0)) == 1000
        assert int(np.argmax(scan["ai1"] < -0.5)) == 500


def test_a_stream_gives_consecutive_blocks_and_stops_on_break(
        stand: orvex.Board, journal: Journal) -> None:
    blocks = []
    for block in stand.scan_stream("ai0,ai3", RATE, 250, output=stand.ao(0).in_step(sine())):
        blocks.append(block)
        if len(blocks) == 4:
            break
    assert [block.first_scan for block in blocks] == [0, 250, 500, 750]
    assert blocks[0].start_time is not None and blocks[3].start_time is not None
    assert (blocks[3].start_time - blocks[0].start_time).total_seconds() == pytest.approx(
        750 / RATE, abs=2e-6)
    joined = np.concatenate([block["ai0"] for block in blocks])
    assert sine_amplitude(joined) == pytest.approx(5.0, rel=0.01)  # no gap between blocks
    assert np.all(np.abs(np.concatenate([block["ai3"] for block in blocks]) - 1.0) < 0.01)
    assert orvex.capi.orvex_scanStop() == 1  # the break stopped it
    with stand.scan_stream(2, 1000.0, 10) as again:
        assert next(again).channels == ("ai2",)
        with pytest.raises(RuntimeError, match="scan stream is running"):
            stand.scan(3, 1000.0, 10)
    assert not again.running and list(again) == []


def test_the_board_s_close_stops_a_stream(board: orvex.Board) -> None:
    stream = board.scan_stream("ai0:1", 1000.0, 10)
    next(stream)
    board.close()
    assert not stream.running and list(stream) == []
    assert orvex.capi.orvex_scanStop() == 1
