"""Threads sharing the board: the module's lock keeps every call whole."""

import sys
import threading

import orvex
from orvex import simboard


def test_two_threads_hammering_ports_and_analog_reads_see_no_wrong_value(
        board: orvex.Board) -> None:
    board.port(0).mask = 0xFF
    board.port(2).mask = 0xFE
    simboard.set_analog_input(5, 1.25)
    simboard.set_analog_input(6, -4.375)  # a code of the converter at ±10 V
    wrong: list[tuple[int, int]] = []

    def hammer(port: int, line_shift: int, channel: int, volts: float, output: int) -> None:
        for step in range(1500):
            value = (step << line_shift) & 0xFE
            board.port(port).write(value)
            if board.port(port).read() & 0xFE != value:
                wrong.append((port, step))
            if board.ai(channel).read() != volts:
                wrong.append((channel, step))
            board.ao(output).write(volts / 2)
            if board.ai(output).read() != volts / 2:
                wrong.append((output, step))

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)
    try:
        threads = [threading.Thread(target=hammer, args=(0, 1, 5, 1.25, 0)),
                   threading.Thread(target=hammer, args=(2, 2, 6, -4.375, 1))]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
    finally:
        sys.setswitchinterval(interval)
    assert wrong == []
