"""What a failure leaves behind: a failed acquisition, stream block or close, and Ctrl-C
in an acquisition, stop what they started, so that the board stays usable."""

import os
import signal
import subprocess
import sys
import textwrap
import time
import warnings
from pathlib import Path

import numpy as np
import pytest

import orvex
from orvex import simboard
from conftest import Journal
from test_board import created_and_cleared


def fault(entry_point: str, status: int, call: int = 1) -> dict[str, object]:
    return {"entryPoint": entry_point, "call": call, "status": status}


@pytest.mark.parametrize("timeout, faults, code", [
    (0.2, [], -200284),  # the samples of 5 s do not come within the timeout
    (10.0, [fault("DAQmxReadAnalogF64", -200279, call=2)], -200279),  # in the read's 2nd call
])
def test_a_failed_acquisition_stops_its_task_and_the_next_one_works(
        board: orvex.Board, journal: Journal, timeout: float, faults: list[dict[str, object]],
        code: int) -> None:
    simboard.apply_bench({"faults": faults})
    out = np.zeros(5000)
    with pytest.raises(orvex.Error) as failed:
        board.ai(0).acquire(1000.0, 5000, timeout=timeout, out=out)
    assert failed.value.code == code and failed.value.function == "orvex_analogReadEx"
    came = int(np.isnan(out).argmax())  # the samples that came, then NaN
    assert came > 0 and np.isnan(out[came:]).all()
    assert [line.endswith(" = 0") for line in journal.lines("DAQmxStopTask")] == [True]
    assert board.ai(0).acquire(1000.0, 10).shape == (10,)
    assert board.ai(1).acquire(1000.0, 10).shape == (10,)


def test_a_failed_block_ends_the_stream_and_a_stop_that_fails_is_tried_again(
        board: orvex.Board) -> None:
    simboard.apply_bench({"faults": [fault("DAQmxReadAnalogF64", -200279, call=3),
                                     fault("DAQmxStopTask", -200088)]})
    stream = board.ai(0).stream(1000.0, 10)
    with pytest.raises(orvex.Error) as failed:
        for _ in stream:
            pass
    assert failed.value.code == -200279
    assert stream.running and orvex.capi.orvex_analogFetchStatus() == 1  # the stop failed
    with pytest.raises(RuntimeError, match="ai0 is streaming"):
        next(board.ai(1).stream(1000.0, 10))
    stream.close()
    assert not stream.running and orvex.capi.orvex_analogFetchStatus() == 0
    assert list(stream) == []
    assert next(board.ai(1).stream(1000.0, 10)).shape == (10,)


def test_a_warning_made_an_error_ends_the_stream(board: orvex.Board) -> None:
    simboard.apply_bench({"faults": [fault("DAQmxReadAnalogF64", 200101, call=2)]})
    stream = board.ai(2).stream(1000.0, 10)
    next(stream)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(orvex.DriverWarning):
            next(stream)
    assert not stream.running and orvex.capi.orvex_analogFetchStatus() == 0


def test_a_failed_release_raises_at_every_close_until_it_succeeds(journal: Journal) -> None:
    simboard.reset()
    board = orvex.Board()
    board.port(2).mask = 0x0F
    board.ai(3).read()
    simboard.apply_bench({"faults": [{"entryPoint": "DAQmxClearTask", "every": True,
                                      "status": -50103}]})
    for _ in range(2):
        with pytest.raises(orvex.Error) as failed:
            board.close()
        assert failed.value.code == -50103 and failed.value.function == "orvex_ni6251Close"
    assert board.closed
    simboard.reset()
    board.close()
    board.close()  # released: nothing left to do
    created, cleared = created_and_cleared(journal.lines())
    assert len(created) == 3 and created == cleared  # the port's two tasks and the input's


def test_ctrl_c_ends_a_long_acquisition_at_once_and_frees_the_input(tmp_path: Path) -> None:
    # A board in real time, shared by the processes of this test alone.
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith("ORVEX_SIM_")}
    environment["ORVEX_SIM_STATE"] = str(tmp_path / "board.state")
    code = textwrap.dedent("""
        import signal, subprocess, sys, time
        import orvex
        signal.signal(signal.SIGINT, signal.default_int_handler)
        board = orvex.Board()
        print("acquiring", flush=True)
        try:
            board.ai(0).acquire(1000.0, 20_000, timeout=30.0)
        except KeyboardInterrupt:
            print(time.time(), flush=True)
        # Another process acquires while this one still has its board open (slowly, as
        # a buffer of a few samples overflows when a loaded machine wakes the read late).
        other = subprocess.run([sys.executable, "-c",
                                "import orvex; orvex.Board().ai(0).acquire(10.0, 2)"],
                               capture_output=True, text=True)
        print(other.returncode, other.stderr.strip(), flush=True)
    """)
    process = subprocess.Popen([sys.executable, "-c", code], env=environment, text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert process.stdout is not None and process.stdout.readline() == "acquiring\n"
    time.sleep(0.3)
    interrupted = time.time()
    process.send_signal(signal.SIGINT)
    output, errors = process.communicate(timeout=60)
    assert process.returncode == 0, errors
    caught, other = output.splitlines()
    assert float(caught) - interrupted < 0.5
    assert other == "0 "
