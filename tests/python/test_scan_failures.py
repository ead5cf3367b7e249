"""What a failure inside a scan leaves behind: nothing running, so that the next scan,
and every other use of the inputs, works."""

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


def scan_stopped() -> bool:
    return orvex.capi.orvex_scanStop() == 1


@pytest.mark.parametrize("timeout, faults, code", [
    (0.2, [], -200284),  # the scans of 5 s do not come within the timeout
    (10.0, [{"entryPoint": "DAQmxReadAnalogF64", "call": 2, "status": -200279}], -200279),
])
def test_a_failed_scan_stops_and_the_next_one_works(
        board: orvex.Board, journal: Journal, timeout: float, faults: list[dict[str, object]],
        code: int) -> None:
    simboard.apply_bench({"faults": faults})
    out = np.zeros((5000, 2))
    with pytest.raises(orvex.Error) as failed:
        board.scan("ai0:1", 1000.0, 5000, timeout=timeout, out=out,
                   output=board.ao(0).in_step([1.0, 2.0]))
    assert failed.value.code == code and failed.value.function == "orvex_scanReadEx"
    came = int(np.isnan(out[:, 0]).argmax())  # the scans that came, then NaN
    assert came > 0 and np.isnan(out[came:]).all()
    assert len(journal.lines("DAQmxStopTask")) >= 2  # the scan's task and the output's
    assert scan_stopped()
    assert board.scan("ai0:1", 1000.0, 10).data.shape == (10, 2)
    assert board.ai(0).acquire(1000.0, 10).shape == (10,)


def test_a_refused_start_leaves_nothing_running(board: orvex.Board) -> None:
    simboard.apply_bench({"faults": [{"entryPoint": "DAQmxStartTask", "call": 1,
                                      "status": -50103}]})
    with pytest.raises(orvex.Error) as failed:
        board.scan("ai2:3", 1000.0, 10)
    assert failed.value.code == -50103 and failed.value.function == "orvex_scanStart"
    assert scan_stopped() and board.scan("ai2:3", 1000.0, 10).data.shape == (10, 2)


def test_a_failed_block_or_a_warning_made_an_error_ends_the_stream(board: orvex.Board) -> None:
    simboard.apply_bench({"faults": [
        {"entryPoint": "DAQmxReadAnalogF64", "call": 3, "status": -200279},
        {"entryPoint": "DAQmxReadAnalogF64", "call": 5, "status": 200101}]})
    stream = board.scan_stream("ai0:1", 1000.0, 10)
    with pytest.raises(orvex.Error) as failed:
        for _ in stream:
            pass
    assert failed.value.code == -200279 and not stream.running and scan_stopped()
    warned = board.scan_stream("ai0:1", 1000.0, 10)
    next(warned)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(orvex.DriverWarning):
            next(warned)
    assert not warned.running and scan_stopped() and list(warned) == []


def test_ctrl_c_ends_a_long_scan_at_once_and_frees_the_inputs(tmp_path: Path) -> None:
    # A board in real time, shared by the processes of this test alone.
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith("ORVEX_SIM_")}
    environment["ORVEX_SIM_STATE"] = str(tmp_path / "board.state")
    code = textwrap.dedent("""
        import signal, subprocess, sys, time
        import orvex
        signal.signal(signal.SIGINT, signal.default_int_handler)
        board = orvex.Board()
        print("scanning", flush=True)
        try:
            board.scan("ai0:3", 1000.0, 20_000, timeout=30.0)
        except KeyboardInterrupt:
            print(time.time(), flush=True)
        other = subprocess.run([sys.executable, "-c",
                                "import orvex; orvex.Board().scan('ai0:1', 10.0, 2)"],
                               capture_output=True, text=True)
        print(other.returncode, other.stderr.strip(), flush=True)
    """)
    process = subprocess.Popen([sys.executable, "-c", code], env=environment, text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert process.stdout is not None and process.stdout.readline() == "scanning\n"
    time.sleep(0.3)
    interrupted = time.time()
    process.send_signal(signal.SIGINT)
    output, errors = process.communicate(timeout=60)
    assert process.returncode == 0, errors
    caught, other = output.splitlines()
    assert float(caught) - interrupted < 0.5
    assert other == "0 "
