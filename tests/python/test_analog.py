"""Single points, acquisitions, streams and generation, over the stand's loopback
wiring (ao0 to ai0, ao1 to ai1)."""

import numpy as np
import numpy.typing as npt
import pytest

import orvex
from orvex import simboard
from conftest import Journal

Volts = npt.NDArray[np.float64]

RATE = 100_000.0
PERIOD = 100  # samples of the generated sine: 1 kHz


def sine(amplitude: float = 5.0) -> Volts:
    wave: Volts = amplitude * np.sin(2 * np.pi * np.arange(10 * PERIOD) / PERIOD)
    return wave


def amplitude_and_worst_error(samples: Volts) -> tuple[float, float]:
    """Least-squares fit of the 1 kHz sine; its amplitude and the largest deviation."""
    phase = 2 * np.pi * np.arange(samples.size) / PERIOD
    basis = np.column_stack([np.sin(phase), np.cos(phase)])
    coefficients, *_ = np.linalg.lstsq(basis, samples, rcond=None)
    return np.hypot(*coefficients), np.max(np.abs(basis @ coefficients - samples))


def test_single_points_in_volts(board: orvex.Board) -> None:
    # Voltages that are codes of the 16-bit converter at ±10 V (steps of 10/32768 V) read
    # back exactly.
    board.ao(1).write(-3.75)
    assert board.ai(1).read() == -3.75
    simboard.set_analog_input(4, 0.625)
    value = board.ai(4).read()
    assert isinstance(value, float) and value == 0.625
    simboard.set_analog_input(4, None)


def test_the_loopback_sine_reads_back_within_one_percent(board: orvex.Board) -> None:
    board.ao(0).generate(sine(), RATE)
    samples = board.ai(0).acquire(RATE, 5000)
    assert samples.dtype == np.float64 and samples.shape == (5000,) and samples.flags.c_contiguous
    amplitude, worst = amplitude_and_worst_error(samples)
    assert amplitude == pytest.approx(5.0, rel=0.01)
    assert worst < 0.05
    board.ao(0).stop()


def test_an_acquisition_waits_for_its_trigger(board: orvex.Board, journal: Journal) -> None:
    board.ao(1).write(0.0)
    board.ao(0).generate(sine(), RATE)
    samples = board.ai(1).acquire(RATE, 200, trigger=0, level=2.5)
    assert np.all(np.abs(samples) < 0.01)
    assert any('triggerSource="PXI1Slot2/ai0"' in line and "triggerLevel=2.5" in line
               for line in journal.lines("DAQmxCfgAnlgEdgeStartTrig"))
    triggered = board.ai(0).acquire(RATE, 50, trigger="PXI1Slot2/ai0", level=2.5)
    assert triggered[0] == pytest.approx(2.5, abs=0.35) and triggered[1] > triggered[0]
    board.ao(0).stop()


def test_a_stream_gives_consecutive_blocks_and_stops_on_break(
        board: orvex.Board, journal: Journal) -> None:
    board.ao(0).generate(sine(), RATE)
    blocks = []
    for block in board.ai(0).stream(RATE, 250):
        blocks.append(block)
        assert orvex.capi.orvex_analogFetchStatus() == 1
        if len(blocks) == 4:
            break
    assert orvex.capi.orvex_analogFetchStatus() == 0
    assert len(journal.lines("DAQmxStopTask")) == 1
    joined = np.concatenate(blocks)
    amplitude, worst = amplitude_and_worst_error(joined)
    assert amplitude == pytest.approx(5.0, rel=0.01) and worst < 0.05  # no gap between blocks
    with board.ai(1).stream(1000.0, 10) as again:  # the converter is free again
        assert next(again).shape == (10,)
    assert not again.running and list(again) == []


def test_one_stream_at_a_time_and_a_stream_ends_when_the_board_closes(board: orvex.Board) -> None:
    first = board.ai(2).stream(1000.0, 10)
    next(first)
    with pytest.raises(RuntimeError, match="ai2 is streaming"):
        next(board.ai(3).stream(1000.0, 10))
    board.close()
    assert list(first) == [] and orvex.capi.orvex_analogFetchStatus() == 0


def test_a_generation_restarts_and_stops(board: orvex.Board, journal: Journal) -> None:
    output = board.ao(1)
    output.generate([1.0, 2.0, 3.0, 4.0], 1000.0)
    output.generate(np.full(8, -1.25), 2000.0)  # stops the first one
    simboard.advance_time(0.01)
    assert board.ai(1).read() == -1.25
    output.stop()
    assert len(journal.lines("DAQmxStopTask")) == 2
    assert len(journal.lines("DAQmxCfgSampClkTiming")) == 2
    with pytest.raises(orvex.CheckError):
        output.stop()


def test_an_acquisition_into_a_given_array(board: orvex.Board) -> None:
    simboard.set_analog_input(5, 0.625)
    out = np.zeros(64)
    assert board.ai(5).acquire(10_000.0, 64, out=out) is out and np.all(out == 0.625)
    with pytest.raises(ValueError):
        board.ai(5).acquire(10_000.0, 32, out=out)
    with pytest.raises(TypeError):
        board.ai(5).acquire(10_000.0, 64, out=np.zeros(64, dtype=np.float32))
    simboard.set_analog_input(5, None)
