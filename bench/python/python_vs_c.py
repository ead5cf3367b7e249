#!/usr/bin/env python3
"""The Python package against the C library in one run, on the simulated board in
virtual time: an acquisition of 10^7 samples and a scan of four channels of 10^7 samples
in all, each into one reused array, as the C side does (goal: at least 0.9 of the C
throughput; the figure for a new array each time is shown too; the package makes them
in calls that wait 0.1 s of board time each, where the C side makes one call), and a
single-point read (goal: at most 2 us a call).  The sides take turns; each
figure is the best of the repetitions, for both sides alike, which keeps the other load
of the machine out.

    python3 bench/python/python_vs_c.py [--build build] [--repetitions 5]
"""

import argparse
import json
import os
import subprocess
import sys
import time
from pathlib import Path
from typing import TYPE_CHECKING, Callable, Optional

if TYPE_CHECKING:
    import numpy as np
    import numpy.typing as npt

    import orvex

SOURCE = Path(__file__).resolve().parents[2]
SAMPLES = 10_000_000
RATE = 1.0e6
READS = 200_000
ACQUISITIONS = 10
SCAN_CHANNELS = "ai0:3"
SCAN_RATE = 250_000.0  # per channel: the board's 1 MS/s in all
SCANS = SAMPLES // 4


#: Seconds a call, per benchmark name.
Figures = dict[str, float]


def c_figures(build: Path) -> Figures:
    """One repetition of each C benchmark, in seconds a call."""
    program = build / "bench" / "python" / "orvex_c_reference_bench"
    report = subprocess.run([str(program), "--benchmark_format=json"],
                            check=True, capture_output=True, text=True, env=os.environ).stdout
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return {run["run_name"].split("/")[0]: run["real_time"] * scale[run["time_unit"]]
            for run in json.loads(report)["benchmarks"]}


class PythonSide:
    """The same work through the Python package, in seconds a call: the mean of several
    calls, as Google Benchmark reports the C side."""

    def __init__(self) -> None:
        import orvex

        self.board = orvex.Board()
        self.channel, self.point = self.board.ai(0), self.board.ai(2)
        self.reused = self.channel.acquire(RATE, SAMPLES, timeout=60.0)
        self.scan_reused = self.scan().data

    def scan(self, out: "Optional[npt.NDArray[np.float64]]" = None) -> "orvex.Waveform":
        return self.board.scan(SCAN_CHANNELS, SCAN_RATE, SCANS, timeout=60.0, out=out)

    def figures(self) -> Figures:
        return {
            "BM_Acquire": mean_time(lambda: self.channel.acquire(RATE, SAMPLES, timeout=60.0,
                                                                 out=self.reused), ACQUISITIONS),
            "BM_AcquireNewArray": mean_time(
                lambda: self.channel.acquire(RATE, SAMPLES, timeout=60.0), ACQUISITIONS),
            "BM_Scan": mean_time(lambda: self.scan(self.scan_reused), ACQUISITIONS),
            "BM_ScanNewArray": mean_time(self.scan, ACQUISITIONS),
            "BM_SinglePointRead": mean_time(self.point.read, READS),
        }


def mean_time(call: Callable[[], object], times: int) -> float:
    start = time.perf_counter()
    for _ in range(times):
        call()
    return (time.perf_counter() - start) / times


def best(runs: list[Figures]) -> Figures:
    return {name: min(run[name] for run in runs) for name in runs[0]}


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=SOURCE / "build")
    parser.add_argument("--repetitions", type=int, default=5)
    options = parser.parse_args()
    build = options.build.resolve()
    os.environ.setdefault("ORVEX_LIBRARY", str(build / "orvex" / "liborvex.so.0"))
    os.environ["ORVEX_DRIVER"] = str(build / "platform" / "simboard" / "liborvex_simboard.so")
    os.environ["ORVEX_SIM_BENCH"] = str(Path(__file__).with_name("virtual_time.json"))
    sys.path.insert(0, str(SOURCE / "python"))

    # The two sides take turns, so that a change in the machine's load hits both.
    python_side = PythonSide()
    c_runs, python_runs = [], []
    for _ in range(options.repetitions):
        c_runs.append(c_figures(build))
        python_runs.append(python_side.figures())
    c, python = best(c_runs), best(python_runs)
    throughput_ratio = c["BM_Acquire"] / python["BM_Acquire"]
    scan_ratio = c["BM_Scan"] / python["BM_Scan"]
    read_ratio = python["BM_SinglePointRead"] / c["BM_SinglePointRead"]
    print(f"acquire 10^7 samples  C {c['BM_Acquire'] * 1e3:8.1f} ms   "
          f"Python {python['BM_Acquire'] * 1e3:8.1f} ms   "
          f"throughput Python/C {throughput_ratio:.3f} (goal >= 0.9)")
    print(f"  into a new array each time: Python {python['BM_AcquireNewArray'] * 1e3:8.1f} ms   "
          f"throughput Python/C {c['BM_Acquire'] / python['BM_AcquireNewArray']:.3f}")
    print(f"scan 4 x 2.5*10^6     C {c['BM_Scan'] * 1e3:8.1f} ms   "
          f"Python {python['BM_Scan'] * 1e3:8.1f} ms   "
          f"throughput Python/C {scan_ratio:.3f} (goal >= 0.9)")
    print(f"  into a new array each time: Python {python['BM_ScanNewArray'] * 1e3:8.1f} ms   "
          f"throughput Python/C {c['BM_Scan'] / python['BM_ScanNewArray']:.3f}")
    print(f"single-point read     C {c['BM_SinglePointRead'] * 1e6:8.3f} us   "
          f"Python {python['BM_SinglePointRead'] * 1e6:8.3f} us   "
          f"cost Python/C {read_ratio:.2f}, Python {python['BM_SinglePointRead'] * 1e6:.2f} us "
          f"(goal <= 2 us)")
    met = throughput_ratio >= 0.9 and scan_ratio >= 0.9 and python["BM_SinglePointRead"] <= 2e-6
    print("goals met" if met else "goals NOT met")
    return 0


if __name__ == "__main__":
    sys.exit(main())
