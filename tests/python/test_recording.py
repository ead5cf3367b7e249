"""Recordings in HDF5 read with h5py and with orvex.recording: every sample and attribute
of a four-channel recording, a file followed while it grows, rotated files joined, and
the files of a writer killed at random moments.  The writer is the test program
recording_writer (tests/recording), whose synthetic samples follow from their index."""

import os
import random
import shutil
import signal
import subprocess
import time
from datetime import datetime, timezone
from pathlib import Path
from typing import Any, List

import numpy as np
import numpy.typing as npt
import pytest

from conftest import run_python
from orvex import recording

h5py = pytest.importorskip("h5py")
WRITER = os.environ.get("ORVEX_RECORDING_WRITER", "")
pytestmark = pytest.mark.skipif(not WRITER, reason="no recording_writer in this build")


def volts(first: int, count: int, channels: int = 4) -> npt.NDArray[np.float32]:
    """The writer's samples: channel k's sample n is k + (n mod 1000) / 1000."""
    n = np.arange(first, first + count)[:, None]
    return (np.arange(channels)[None, :] + (n % 1000) / 1000.0).astype(np.float32)


def write(directory: Path, *options: str) -> None:
    subprocess.run([WRITER, str(directory), *options], check=True, stdout=subprocess.DEVNULL,
                   timeout=60)


def files(directory: Path) -> List[str]:
    return sorted(str(path) for path in directory.glob("*.h5"))


def open_when_ready(path: str) -> Any:
    """A file just made stays locked until its writer has described it."""
    for _ in range(500):
        try:
            return h5py.File(path, "r", swmr=True)
        except BlockingIOError:
            time.sleep(0.01)
    raise TimeoutError(path)


def test_four_channels_read_back_with_h5py(tmp_path: Path) -> None:
    write(tmp_path, "--seconds", "2.5")
    [path] = files(tmp_path)
    with h5py.File(path, "r") as file:
        assert np.array_equal(file["samples"][()], volts(0, 2500))
        assert dict(file.attrs) == {
            "format": "orvex recording", "format_version": 1,
            "start_time": "2024-05-01T12:00:00.250000Z", "start_time_epoch": 1714564800.25,
            "start_time_source": "at start", "start_time_uncertainty": 0.0005,
            "recording_start_time": "2024-05-01T12:00:00.250000Z",
            "recording_start_time_epoch": 1714564800.25, "sample_interval": 0.001,
            "sample_rate": 1000.0, "first_sample_index": 0, "file_number": 0,
            "channel_count": 4, "sample_format": "float32", "board": "PXI-6251 (simulated)",
            "slot": 2, "driver": "liborvex_simboard.so", "program": "recording_writer",
            "program_version": "0.3.0", "library_version": "0.3.0", "host": "testhost",
            "notes": "synthetic data", "rotation_seconds": 0.0, "rotation_bytes": 0}
        assert [dict(file["channels"][str(k)].attrs) for k in range(4)] == [
            {"name": f"ai{k}", "range": 10.0 / (k + 1), "terminal": terminal, "units": "V"}
            for k, terminal in enumerate(["RSE", "NRSE", "DIFF", "RSE"])]
        assert dict(file["channels/2/calibration"].attrs) == {
            "volts_at_minus_one": 0.25, "volts_at_plus_one": 4.75}

    rec = recording.read(path)
    assert np.array_equal(rec.samples, volts(0, 2500))
    assert rec.start_time == datetime(2024, 5, 1, 12, 0, 0, 250000, tzinfo=timezone.utc)
    # After the writer's gap of 10 samples at sample 1000, each sample comes 10 ms later.
    assert rec.time[999] == pytest.approx(0.999) and rec.interval == 0.001
    assert rec.time[1000] == pytest.approx(1.01)
    assert rec.channel_names == ["ai0", "ai1", "ai2", "ai3"]
    assert rec.channels[2]["calibration"]["volts_at_plus_one"] == 4.75
    assert [(e.kind, e.sample_index, e.code, e.duration, e.text) for e in rec.events] == [
        ("start", 0, 0, 0, ""), ("trigger", 0, 0, 0, "synthetic start"),
        ("driver_error", 1000, -200279, 0, "synthetic fault"),
        ("gap", 1000, 0, 10, "synthetic gap"), ("stop", 2500, 0, 0, "")]


def test_raw_codes_read_as_volts(tmp_path: Path) -> None:
    write(tmp_path, "--seconds", "1", "--format", "i16")
    rec = recording.read(files(tmp_path)[0])
    n = np.arange(1000)[:, None]
    k = np.arange(4)[None, :]
    codes = (n * 37 + k * 5000) % 65536 - 32768
    assert np.array_equal(rec.samples, codes * (10.0 / 32768.0 / (k + 1)) + 0.01 * k)


def test_rotated_files_join_into_one_recording(tmp_path: Path) -> None:
    write(tmp_path, "--seconds", "6", "--rate", "100", "--rotate", "1")
    names = files(tmp_path)
    assert len(names) == 6
    rec = recording.read_series(str(tmp_path / "*.h5"))
    assert np.array_equal(rec.samples, volts(0, 600))
    # The writer's gap of 10 samples at 1 s dates every later sample 0.1 s later.
    assert rec.time[99] == pytest.approx(0.99)
    assert rec.time[100] == pytest.approx(1.10)
    assert rec.time[-1] == pytest.approx(6.09)
    assert [e.kind for e in rec.events].count("rotation") == 5
    with pytest.raises(ValueError, match="do not join"):
        recording.read_series(names[:2] + names[3:])


def test_a_reader_follows_the_file_while_it_grows(tmp_path: Path) -> None:
    writer = subprocess.Popen([WRITER, str(tmp_path), "--seconds", "3", "--pace"],
                              stdout=subprocess.DEVNULL)
    try:
        while not files(tmp_path) and writer.poll() is None:
            time.sleep(0.01)
        sizes = []
        with open_when_ready(files(tmp_path)[0]) as file:
            samples = file["samples"]
            while writer.poll() is None:
                samples.refresh()
                sizes.append(samples.shape[0])
                assert np.array_equal(samples[()], volts(0, sizes[-1]))
                time.sleep(0.2)
    finally:
        writer.wait(timeout=30)
    assert sizes == sorted(sizes) and len(set(sizes)) >= 4, sizes


def test_a_killed_writer_leaves_files_that_open_and_hold_all_but_the_last_second(
        tmp_path: Path) -> None:
    moments = random.Random()
    h5dump, h5clear = shutil.which("h5dump"), shutil.which("h5clear")
    for attempt in range(20):
        directory = tmp_path / str(attempt)
        directory.mkdir()
        writer = subprocess.Popen(
            [WRITER, str(directory), "--seconds", "60", "--rotate", "0.5", "--pace"],
            stdout=subprocess.PIPE, text=True)
        moment = moments.uniform(0.05, 1.5)
        time.sleep(moment)
        writer.send_signal(signal.SIGKILL)
        lines = writer.communicate()[0].split()
        appended = int(lines[-1]) if lines else 0
        # Opened as a follower, as the layout document says for such files.
        rec = recording.read_series(files(directory))
        assert np.array_equal(rec.samples, volts(0, rec.samples.shape[0]))
        assert rec.samples.shape[0] >= appended - 1000, (moment, appended)
        if h5dump and h5clear:
            copy = directory / "copy.h5.last"
            shutil.copy(files(directory)[-1], copy)
            subprocess.run([h5clear, "-s", str(copy)], check=True)
            subprocess.run([h5dump, "-H", str(copy)], check=True, stdout=subprocess.DEVNULL)


def test_the_package_imports_without_h5py() -> None:
    result = run_python("import sys, orvex, orvex.recording; print('h5py' in sys.modules)")
    assert result.stdout.strip() == "False", result.stderr
