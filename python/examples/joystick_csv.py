#!/usr/bin/env python3
"""Logs the joystick (X on ai2, Y on ai3) to a CSV file at a fixed interval.

    ORVEX_DRIVER=.../liborvex_simboard.so python3 joystick_csv.py joystick.csv --seconds 10

Port 2 line 0 powers the joystick; the log powers it for its run."""

import argparse
import csv
import time

import orvex


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("csv", help="the log's file")
    parser.add_argument("--seconds", type=float, default=10.0, help="length of the log")
    parser.add_argument("--interval", type=float, default=0.05, help="seconds between rows")
    options = parser.parse_args()

    with orvex.Board(slot=2) as board, open(options.csv, "w", newline="") as file:
        board.port(2).mask = 0x07
        board.line(2, 0).value = 1
        x, y = board.ai(2), board.ai(3)
        log = csv.writer(file)
        log.writerow(["seconds", "x_volts", "y_volts"])
        start = time.monotonic()
        rows = 0
        while (elapsed := time.monotonic() - start) < options.seconds:
            log.writerow([f"{elapsed:.3f}", f"{x.read():.4f}", f"{y.read():.4f}"])
            rows += 1
            time.sleep(max(0.0, start + rows * options.interval - time.monotonic()))
        board.line(2, 0).value = 0
    print(f"{rows} rows: {options.csv}")


if __name__ == "__main__":
    main()
