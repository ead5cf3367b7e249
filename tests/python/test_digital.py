"""Ports and lines on the lab stand."""

import pytest

import orvex
from orvex import simboard


def test_port_directions_values_and_the_stand(board: orvex.Board) -> None:
    outputs, stand = board.port(2), board.port(1)
    outputs.mask = 0xFF
    outputs.write(0x05)
    assert outputs.read() == 0x05 and outputs.mask == 0xFF
    stand.mask = 0x00
    for switch in (1, 3, 4):
        simboard.press_switch(switch, pressed=False)
    simboard.press_switch(2)
    assert stand.read() & 0xF0 == 0xD0  # S1 to S4 on lines 4 to 7, low while pressed
    simboard.press_switch(2, pressed=False)
    assert stand.read() & 0xF0 == 0xF0


def test_lines_write_one_bit_and_read_inputs_and_outputs(board: orvex.Board) -> None:
    port = board.port(0)
    port.mask = 0xF0
    port.write(0x30)
    board.line(0, 7).value = True
    board.line(0, 4).value = 0
    simboard.set_input_line(0, 1, 1)
    assert port.read() == 0xA2
    assert board.line(0, 5).value == 1 and board.line(0, 1).value == 1
    assert board.line(0, 0).value == 0
    simboard.set_input_line(0, 1, None)
    assert board.line(0, 1) is board.line(0, 1)


def test_a_remembered_value_comes_back_with_the_outputs(board: orvex.Board) -> None:
    port = board.port(2)
    port.mask = 0x00
    port.write(0x06)  # only remembered: no output line yet
    port.mask = 0x0F
    assert port.read() & 0x0F == 0x06


def test_the_joystick_follows_the_hold(board: orvex.Board) -> None:
    simboard.hold_joystick(1.0, 4.0)
    board.port(2).mask = 0x07
    board.line(2, 0).value = 1  # powers the joystick
    assert board.ai(2).read() == pytest.approx(1.0, abs=0.01)
    assert board.ai(3).read() == pytest.approx(4.0, abs=0.01)
    simboard.release_joystick()


def test_a_port_value_reads_and_writes_the_whole_port(board: orvex.Board) -> None:
    port = board.port(0)
    port.mask = 0xFF
    port.value = 0x55
    assert port.read() == 0x55 and port.value == 0x55
    port.write(0xA0)
    assert port.value == 0xA0
    with pytest.raises(ValueError):
        port.value = 0x100
