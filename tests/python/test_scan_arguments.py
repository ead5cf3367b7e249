"""Every bad argument of a scan is refused with a clear message before any driver call."""

from typing import Any, Type

import numpy as np
import pytest

import orvex
from conftest import Journal


@pytest.mark.parametrize("channels, keywords, kind, message", [
    ("ai16", {}, orvex.CheckError, 'unknown channel "ai16"'),
    ("ai0,ai2,ai0", {}, orvex.CheckError, "ai0 is listed twice"),
    ("ai0:3,ai2", {}, orvex.CheckError, "ai2 is listed twice"),
    ("ai0,ai8", {"terminals": {"ai0": "diff"}}, orvex.CheckError,
     "ai8 is the differential partner of ai0"),
    ("ai8,ai0", {"terminal": "diff"}, orvex.CheckError, "ai8 cannot be differential"),
    ("ai0:1", {"terminal": "diff", "ranges": {"ai3": 1.0}}, orvex.CheckError,
     "not in the scan's channel list"),
    ("ao0", {}, ValueError, "not an analog input"),
    ("ai0", {"range": 10.5}, ValueError, "range must be above 0 and at most 10 V"),
    ("ai0", {"range": 0.0}, ValueError, "range must be above 0"),
    ("ai0:1", {"ranges": {"ai1": -0.1}}, ValueError, "range must be above 0"),
    ("ai0", {"rate": 0.0}, ValueError, "rate must be positive"),
    ("ai0", {"rate": 1.3e6}, ValueError, "1.25e\\+06 S/s for a scan of one channel"),
    ("ai0:3", {"rate": 250_001.0}, ValueError, "1e\\+06 S/s in all \\(at most 250000"),
    ("ai0", {"terminal": "floating"}, ValueError, "terminal must be one of rse, nrse, diff"),
    ("ai0", {"slope": "up"}, ValueError, "slope must be one of rising, falling"),
    ("ai0", {"trigger": "ai0", "level": 11.0}, orvex.CheckError, "level <= 10"),
    ("ai0", {"trigger": "PFI16"}, orvex.CheckError, "a line PFI0 to PFI15"),
    ("ai0", {"samples": 0}, ValueError, "samples must be within"),
    ("ai0", {"out": np.zeros((10, 2))}, ValueError, r"shape \(10, 1\)"),
    ("ai0", {"output": [1.0, 2.0]}, TypeError, "in_step"),
])
def test_a_bad_argument_is_refused_before_the_board_is_touched(
        board: orvex.Board, journal: Journal, channels: str, keywords: dict[str, Any],
        kind: Type[Exception], message: str) -> None:
    arguments: dict[str, Any] = {"rate": 1000.0, "samples": 10, **keywords}
    with pytest.raises(kind, match=message):
        board.scan(channels, **arguments)
    assert journal.lines() == []
    assert board.scan("ai0:1", 1000.0, 10).data.shape == (10, 2)  # nothing was left set


def test_bad_outputs_in_step_are_refused(board: orvex.Board) -> None:
    with pytest.raises(ValueError, match="share_clock=False"):
        board.ao(0).in_step([1.0, 2.0], share_clock=True, rate=1000.0)
    with pytest.raises(ValueError, match="needs a rate"):
        board.ao(0).in_step([1.0, 2.0], share_clock=False)
    with pytest.raises(ValueError, match="non-empty row"):
        board.ao(1).in_step(np.zeros((2, 2)))
    with pytest.raises(ValueError, match="channel must be within 0 to 1"):
        board.ao(2).in_step([1.0])
    twice = [board.ao(0).in_step([1.0]), board.ao(0).in_step([2.0])]
    with pytest.raises(ValueError, match="ao0 is given twice"):
        board.scan("ai0", 1000.0, 10, output=twice)
    unequal = [board.ao(0).in_step([1.0]), board.ao(1).in_step([2.0, 3.0])]
    with pytest.raises(ValueError, match="one length on one clock"):
        board.scan("ai0", 1000.0, 10, output=unequal)


def test_a_stream_s_bad_arguments_are_refused_when_it_is_made(board: orvex.Board) -> None:
    with pytest.raises(orvex.CheckError):
        board.scan_stream("ai0,ai0", 1000.0, 10)
    with pytest.raises(ValueError, match="block must be within"):
        board.scan_stream("ai0", 1000.0, 0)
