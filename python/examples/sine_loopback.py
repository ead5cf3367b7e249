#!/usr/bin/env python3
"""Generates a sine on ao0, acquires it back on ai0 and plots both into an image file.

    ORVEX_DRIVER=.../liborvex_simboard.so python3 sine_loopback.py loopback.png

On the lab stand ao0 is wired to ai0.  The plot is drawn without a display (Agg)."""

import argparse

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import orvex  # noqa: E402


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("image", help="the plot's file, e.g. loopback.png")
    parser.add_argument("--rate", type=float, default=100_000.0, help="samples per second")
    parser.add_argument("--frequency", type=float, default=1000.0, help="sine frequency in Hz")
    parser.add_argument("--amplitude", type=float, default=5.0, help="sine amplitude in volts")
    options = parser.parse_args()

    period = int(round(options.rate / options.frequency))
    wave = options.amplitude * np.sin(2 * np.pi * np.arange(period) / period)
    with orvex.Board(slot=2) as board:
        board.ao(0).generate(wave, options.rate)
        samples = board.ai(0).acquire(options.rate, 5 * period)
        board.ao(0).stop()

    times_ms = 1000.0 * np.arange(samples.size) / options.rate
    figure, axes = plt.subplots(figsize=(8, 4))
    axes.plot(times_ms, samples, label="ai0 acquired")
    axes.plot(times_ms[:period], wave, "--", label="ao0 block")
    axes.set_xlabel("time (ms)")
    axes.set_ylabel("volts")
    axes.legend(loc="upper right")
    figure.tight_layout()
    figure.savefig(options.image)
    print(f"{samples.size} samples, {samples.min():.3f} to {samples.max():.3f} V: {options.image}")


if __name__ == "__main__":
    main()
