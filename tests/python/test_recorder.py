"""Recording from Python through the recording library: a four-channel scan of the
simulated board read back with h5py and with orvex.recording, configurations refused
with the fault named, rotated files that join without a seam, a recording whose folder
goes away, and the package without the library."""

import shutil
from pathlib import Path
from typing import Any, Dict, Type

import numpy as np
import numpy.typing as npt
import pytest

import orvex
from conftest import run_python
from orvex import recording, simboard
from orvex._recording_library import library

h5py = pytest.importorskip("h5py")
try:
    library()
except ImportError as missing:
    pytest.skip(f"no recording library in this build: {missing}", allow_module_level=True)

START = 1714564800.25
INPUTS = [0.5, -1.25, 2.0, 3.5]


def indexed(first: int, count: int, channels: int = 2) -> npt.NDArray[np.float64]:
    """Samples that say where they belong: channel k's sample n is k + n / 1000."""
    n = np.arange(first, first + count)[:, None]
    return np.arange(channels)[None, :] + n / 1000.0


def test_a_four_channel_scan_reads_back_with_h5py_and_our_reader(
        board: orvex.Board, tmp_path: Path) -> None:
    wave = board.scan("ai0:3", rate=1000, samples=2500, ranges={"ai3": 1.0},
                      terminals={"ai1": "nrse"})
    channels = [recording.Channel(name, range=r, terminal="NRSE" if name == "ai1" else "RSE")
                for name, r in zip(wave.channels, wave.ranges)]
    assert wave.start_time is not None
    with recording.Recorder(channels, interval=wave.interval, start_time=wave.start_time,
                            start_time_source="at start", directory=tmp_path,
                            notes="four inputs", attributes={"operator": "ada", "gain": 2.0},
                            provenance={"board": "PXI1Slot2", "slot": 2}) as rec:
        for first in range(0, 2500, 700):
            rec.append(wave.data[first:first + 700])
        rec.event("trigger", sample_index=100, text="valve")
    [path] = rec.files
    assert rec.samples == 2500

    with h5py.File(path, "r") as file:
        assert np.array_equal(file["samples"][()], wave.data.astype(np.float32))
        attributes: Dict[str, Any] = dict(file.attrs)
        assert [file["channels"][str(k)].attrs["terminal"] for k in range(4)] == [
            "RSE", "NRSE", "RSE", "RSE"]
        assert file["channels/3"].attrs["range"] == 1.0
    assert attributes["start_time_epoch"] == pytest.approx(wave.start_time.timestamp(),
                                                           abs=1e-6)
    assert (attributes["sample_rate"], attributes["channel_count"]) == (1000.0, 4)
    assert (attributes["notes"], attributes["operator"], attributes["gain"]) == (
        "four inputs", "ada", 2.0)
    assert (attributes["board"], attributes["slot"]) == ("PXI1Slot2", 2)
    assert attributes["library_version"] == orvex.library_version()

    read = recording.read(path)
    assert np.array_equal(read.samples, wave.data.astype(np.float32))
    assert read.channel_names == ["ai0", "ai1", "ai2", "ai3"]
    assert [(e.kind, e.sample_index, e.text) for e in read.events] == [
        ("start", 0, ""), ("trigger", 100, "valve"), ("stop", 2500, "")]


def test_a_running_scan_is_recorded_as_the_board_runs_it(
        board: orvex.Board, tmp_path: Path) -> None:
    for k, volts in enumerate(INPUTS):
        simboard.set_analog_input(4 + k, volts)
    files = recording.record_scan(board, "ai4:7", rate=1000, seconds=2.55, block=400,
                                  directory=str(tmp_path), rotate_seconds=1,
                                  ranges={"ai7": 2.0}, notes="held inputs")
    assert len(files) == 3
    read = recording.read_series(files)
    # Held inputs give one code each; the third one's range was widened to 2 V, the
    # fourth one clips at its top.
    expected = board.scan("ai4:7", rate=1000, samples=1, ranges={"ai7": 2.0}).data[0]
    assert read.samples.shape == (2550, 4)
    assert np.array_equal(read.samples, np.tile(expected.astype(np.float32), (2550, 1)))
    assert [c["range"] for c in read.channels] == [10.0, 10.0, 10.0, 2.0]
    assert read.attributes["driver"] == orvex.driver_library()
    assert read.attributes["start_time_source"] == "at start"
    assert read.attributes["notes"] == "held inputs"


@pytest.mark.parametrize("options, kind, fault", [
    ({"pattern": "run-%q.h5"}, orvex.CheckError, "pattern .* unknown field"),
    ({"channels": [recording.Channel("ai0", terminal=3)]},
     orvex.CheckError, r"channels\[0\]\.terminal: a text is needed"),
    ({"channels": []}, orvex.CheckError, "no channels"),
    ({"rate": 0.0}, orvex.CheckError, "sample interval must be above 0"),
    ({"flush_seconds": 5.0}, orvex.CheckError, "flush interval"),
    ({"format": "int16", "channels": [recording.Channel("ai0", scale=0.0)]},
     orvex.CheckError, "ai0 needs a scale"),
    ({"directory": "/nonexistent/folder"}, orvex.RecordingError,
     "cannot make /nonexistent/folder/.*No such file or directory"),
])
def test_a_bad_configuration_raises_naming_the_fault(
        tmp_path: Path, options: Dict[str, Any], kind: Type[orvex.Error], fault: str) -> None:
    arguments: Dict[str, Any] = {"channels": ["ai0"], "rate": 100.0,
                                 "directory": tmp_path, **options}
    with pytest.raises(kind, match=fault) as raised:
        recording.Recorder(**arguments)
    assert raised.value.function == "orvex_recordingOpen"
    assert not list(tmp_path.iterdir())


def test_samples_of_the_wrong_kind_are_refused_before_the_library(tmp_path: Path) -> None:
    with recording.Recorder(["a", "b"], rate=100, directory=tmp_path) as rec:
        with pytest.raises(ValueError, match="scans x 2 channels"):
            rec.append(np.zeros((10, 3)))
        with pytest.raises(ValueError, match="kind must be one of"):
            rec.event("alarm")
    with recording.Recorder([recording.Channel("a", scale=0.001)], rate=100, format="int16",
                            directory=tmp_path, pattern="codes.h5") as rec:
        with pytest.raises(TypeError, match="integer codes"):
            rec.append(np.zeros((10, 1)))
        with pytest.raises(ValueError, match="within -32768 to 32767"):
            rec.append(np.array([[40000]]))
    assert rec.samples == 0
    with pytest.raises(ValueError, match="closed"):
        rec.append(np.zeros((1, 1), dtype=np.int16))


@pytest.mark.parametrize("sample_format", ["float64", "int16"])
def test_each_format_reads_back_as_volts(tmp_path: Path, sample_format: str) -> None:
    channels = [recording.Channel("ai0", scale=0.001, offset=0.5),
                recording.Channel("ai1", scale=0.002)]
    codes = np.arange(-600, 600, dtype=np.int16).reshape(-1, 2)
    stored = codes if sample_format == "int16" else codes * 0.25
    with recording.Recorder(channels, rate=100, format=sample_format,
                            directory=tmp_path) as rec:
        rec.append(stored)
    volts = codes * [0.001, 0.002] + [0.5, 0.0] if sample_format == "int16" else stored
    assert np.array_equal(recording.read(rec.files[0]).samples, volts)


def test_rotated_files_hold_every_sample_once_and_start_at_their_first(tmp_path: Path) -> None:
    with recording.Recorder(["a", "b"], rate=100, start_time=START, directory=tmp_path,
                            rotate_seconds=1.0, pattern="part-%n.h5") as rec:
        for first in range(0, 420, 37):
            rec.append(indexed(first, min(37, 420 - first)))
        rec.rotate()  # by hand, as SIGHUP does in the terminal tool
        rec.event("gap", duration=25, text="board restarted")
        rec.append(indexed(420, 130))
    names = [Path(name).name for name in rec.files]
    assert names == [f"part-{n:04d}.h5" for n in range(7)]
    read = recording.read_series(rec.files)
    assert np.array_equal(read.samples, indexed(0, 550).astype(np.float32))
    firsts = [0, 100, 200, 300, 400, 420, 520]
    for name, first in zip(rec.files, firsts):
        attributes = recording.read(name).attributes
        assert attributes["first_sample_index"] == first
        assert attributes["start_time_epoch"] == pytest.approx(START + first / 100, abs=1e-9)
    assert [(e.kind, e.sample_index, e.duration) for e in read.events
            if e.kind in ("gap", "stop")] == [("gap", 420, 25), ("stop", 550, 0)]
    assert [e.sample_index for e in read.events if e.kind == "rotation"] == firsts[1:]


def test_a_folder_that_goes_away_ends_the_recording_with_its_files_readable(
        tmp_path: Path) -> None:
    folder = tmp_path / "runs"
    folder.mkdir()
    rec = recording.Recorder(["a", "b"], rate=100, directory=folder, rotate_seconds=1.0)
    rec.append(indexed(0, 100))
    kept = tmp_path / "kept.h5"
    shutil.copy(rec.files[0], kept)
    shutil.rmtree(folder)
    with pytest.raises(orvex.RecordingError, match="cannot make .*No such file") as raised:
        rec.append(indexed(100, 10))
    assert raised.value.code == -2
    rec.close()  # the failure was heard: closing says nothing more
    assert np.array_equal(recording.read(str(kept)).samples, indexed(0, 100).astype(np.float32))


def test_the_package_imports_and_reads_without_the_recording_library() -> None:
    result = run_python(
        "import orvex, orvex.recording as r\n"
        "try:\n"
        "    r.Recorder(['ai0'], rate=10)\n"
        "except ImportError as error:\n"
        "    print(error)\n",
        ORVEX_RECORDING_LIBRARY="/nonexistent/liborvex_recording.so.0")
    assert "install liborvex-recording0" in result.stdout, result.stderr
