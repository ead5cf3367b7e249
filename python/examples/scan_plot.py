#!/usr/bin/env python3
"""Scans the joystick's axes and ai0 while ao0 generates a sine in step with the scan,
and plots the three channels on their time axis (or prints a summary without matplotlib).

    ORVEX_DRIVER=.../liborvex_simboard.so python3 scan_plot.py --output scan.png

On the lab stand ao0 is wired to ai0; port 2 line 0 powers the joystick (X on ai2, Y on
ai3), which the scan powers for its run.  The plot is drawn without a display (Agg)."""

import argparse
from typing import Optional

import numpy as np

import orvex


def plot(scan: orvex.Waveform, image: str) -> bool:
    """Draws the scan into ``image``; False when matplotlib is not installed."""
    try:
        import matplotlib
    except ImportError:
        return False
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    figure, axes = plt.subplots(figsize=(8, 4))
    for name in scan.channels:
        axes.plot(1000.0 * scan.times(name), scan[name], label=name)
    start = "the start" if scan.start_time is None else f"{scan.start_time:%H:%M:%S.%f} UTC"
    axes.set_xlabel(f"ms from {start}")
    axes.set_ylabel("volts")
    axes.legend(loc="upper right")
    figure.tight_layout()
    figure.savefig(image)
    return True


def summary(scan: orvex.Waveform) -> str:
    lines = [f"{len(scan)} scans at {scan.rate:g} S/s from {scan.start_time} "
             f"(+-{scan.start_time_uncertainty * 1e6:.0f} us, {scan.start_time_source}), "
             f"channels {scan.channel_step * 1e6:g} us apart"]
    for name in scan.channels:
        column = scan[name]
        lines.append(f"  {name}: {column.min():+.3f} to {column.max():+.3f} V, "
                     f"mean {column.mean():+.3f} V")
    return "\n".join(lines)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", help="the plot's file, e.g. scan.png (needs matplotlib)")
    parser.add_argument("--rate", type=float, default=50_000.0, help="scans per second")
    parser.add_argument("--frequency", type=float, default=500.0, help="sine frequency in Hz")
    parser.add_argument("--amplitude", type=float, default=5.0, help="sine amplitude in volts")
    parser.add_argument("--periods", type=int, default=5, help="sine periods to scan")
    options = parser.parse_args()

    period = int(round(options.rate / options.frequency))
    wave = options.amplitude * np.sin(2 * np.pi * np.arange(period) / period)
    with orvex.Board(slot=2) as board:
        board.port(2).mask = 0x01
        board.line(2, 0).value = 1
        scan = board.scan("ai0,ai2:3", options.rate, options.periods * period,
                          output=board.ao(0).in_step(wave))
        board.line(2, 0).value = 0

    drawn: Optional[str] = None
    if options.output:
        drawn = options.output if plot(scan, options.output) else None
        if drawn is None:
            print("matplotlib is not installed: no plot, the summary instead")
    print(summary(scan) + (f"\nplot: {drawn}" if drawn else ""))


if __name__ == "__main__":
    main()
