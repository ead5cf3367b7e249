"""Digital ports and their lines."""

from __future__ import annotations

import ctypes
from typing import TYPE_CHECKING, Optional

from ._arguments import integer
from ._library import fail, lock, raw, warn
from ._session import session

if TYPE_CHECKING:
    from .board import Board

_portMask = raw("orvex_portMask", quick=True)
_portOut = raw("orvex_portOut", quick=True)
_portIn = raw("orvex_portIn", quick=True)


class Port:
    """A digital port of 8 lines; bit n of every value and mask is line n."""

    __slots__ = ("_board", "number", "_data", "_data_ref")
    number: int

    def __init__(self, board: "Board", number: int) -> None:
        self._board = board
        self.number = number
        self._data = ctypes.c_ubyte()
        self._data_ref = ctypes.byref(self._data)

    @property
    def mask(self) -> Optional[int]:
        """The direction mask (a set bit makes its line an output) set through this
        module since the board was last closed, or None."""
        return session.port_mask(self.number)

    @mask.setter
    def mask(self, mask: int) -> None:
        mask = integer(mask, "mask", 0, 255)
        with lock:
            self._board.ensure_open()
            status = _portMask(self.number, mask)
            if status < 0:
                fail(status, "orvex_portMask")
            session.mask_set(self.number, mask)
        warn(status, "orvex_portMask")

    def write(self, value: int) -> None:
        """Sets the port's output lines from ``value`` (0 to 255); input lines are left
        alone.  The value is remembered and written again whenever the port gets
        output lines."""
        value = integer(value, "value", 0, 255)
        with lock:
            status = self.write_locked(value)
        warn(status, "orvex_portOut")

    def read(self) -> int:
        """The state of all 8 lines: inputs as sensed, outputs as driven; 0 before the
        port was given a mask."""
        with lock:
            status, value = self.read_locked()
        warn(status, "orvex_portIn")
        return value

    @property
    def value(self) -> int:
        """The state of all 8 lines, as :meth:`read` gives it; setting it is
        :meth:`write`."""
        return self.read()

    @value.setter
    def value(self, value: int) -> None:
        self.write(value)

    def write_locked(self, value: int) -> int:
        """:meth:`write` for a caller that holds the lock; returns the status."""
        self._board.ensure_open()
        status = _portOut(self.number, value)
        if status == -1:
            fail(status, "orvex_portOut")
        session.value_written(self.number, value)  # the library keeps it even if the write fails
        if status < 0:
            fail(status, "orvex_portOut")
        return int(status)

    def read_locked(self) -> tuple[int, int]:
        """:meth:`read` for a caller that holds the lock; returns status and value."""
        self._board.ensure_open()
        status = _portIn(self.number, self._data_ref)
        if status < 0:
            fail(status, "orvex_portIn")
        return int(status), self._data.value

    def __repr__(self) -> str:
        return f"<orvex.Port {self.number}>"


class Line:
    """One line of a digital port."""

    __slots__ = ("port", "number")
    port: Port
    number: int

    def __init__(self, port: Port, number: int) -> None:
        self.port = port
        self.number = number

    @property
    def value(self) -> int:
        """The line's level, 0 or 1: as sensed for an input, as driven for an output."""
        return (self.port.read() >> self.number) & 1

    @value.setter
    def value(self, level: int) -> None:
        """Writes the port with this line changed and the others as last written (or,
        before any write, as read), all under the lock, so concurrent writers of other
        lines of the port lose nothing.  An input line only keeps the level for when
        it becomes an output."""
        if isinstance(level, bool):
            level = int(level)
        level = integer(level, "value", 0, 1)
        bit = 1 << self.number
        with lock:
            current = session.port_value(self.port.number)
            if current is None:
                current = self.port.read_locked()[1]
            status = self.port.write_locked((current & ~bit) | (bit if level else 0))
        warn(status, "orvex_portOut")

    def __repr__(self) -> str:
        return f"<orvex.Line port {self.port.number} line {self.number}>"
