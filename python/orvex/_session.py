"""What the binding remembers of the library's process-wide state: the library drives
one board for the whole process, whichever Board object a call comes through."""

from __future__ import annotations

import weakref
from typing import TYPE_CHECKING, Optional

if TYPE_CHECKING:
    from .analog import Stream
    from .board import Board
    from .scan import ScanStream


class Session:
    """The library's state as this process's calls left it.  Read and changed under the
    library lock only."""

    def __init__(self) -> None:
        # Kept alive, so that they are closed at interpreter exit.
        self._open_boards: set[Board] = set()
        self._driver_library: Optional[str] = None
        # A weak reference, so that a stream dropped by a ``break`` is collected and
        # stops itself.
        self._stream: Optional[weakref.ref[Stream]] = None
        self._scan: Optional[weakref.ref[ScanStream]] = None
        self._generating: Optional[int] = None
        self._port_masks: dict[int, int] = {}
        self._port_values: dict[int, int] = {}

    @property
    def driver_library(self) -> Optional[str]:
        """The driver library loaded, once a load succeeded; it stays loaded for the
        process."""
        return self._driver_library

    def board_opened(self, board: Board, driver_library: str) -> None:
        """The board is open on the driver library that the library loaded."""
        self._driver_library = driver_library
        self._open_boards.add(board)

    def board_closed(self, board: Board, released: bool) -> None:
        """The library's close ran: it forgot the port directions (but keeps the values
        written).  A board whose tasks were not all ``released`` stays among the open
        ones, so that the end of the interpreter tries again."""
        if released:
            self._open_boards.discard(board)
        self._port_masks.clear()

    def open_boards(self) -> list[Board]:
        """The boards not closed yet, or whose release failed."""
        return list(self._open_boards)

    def active_stream(self) -> Optional[Stream]:
        """The stream whose channel the library is fetching, if it is still alive."""
        return self._stream() if self._stream is not None else None

    def stream_started(self, stream: Stream) -> None:
        self._stream = weakref.ref(stream)

    def stream_stopped(self) -> None:
        self._stream = None

    def active_scan(self) -> Optional[ScanStream]:
        """The scan stream whose scan runs, if it is still alive."""
        return self._scan() if self._scan is not None else None

    def scan_started(self, scan: ScanStream) -> None:
        self._scan = weakref.ref(scan)

    def scan_stopped(self) -> None:
        self._scan = None

    def generating(self) -> Optional[int]:
        """The analog output channel generating a clocked block."""
        return self._generating

    def generation_started(self, channel: int) -> None:
        self._generating = channel

    def generation_stopped(self) -> None:
        self._generating = None

    def port_mask(self, port: int) -> Optional[int]:
        """The direction mask set through the binding since the last close."""
        return self._port_masks.get(port)

    def mask_set(self, port: int, mask: int) -> None:
        self._port_masks[port] = mask

    def port_value(self, port: int) -> Optional[int]:
        """The last value written (the library, too, keeps it across a close)."""
        return self._port_values.get(port)

    def value_written(self, port: int, value: int) -> None:
        self._port_values[port] = value


#: The one session of the process.
session = Session()
