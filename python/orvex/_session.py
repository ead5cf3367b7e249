"""What the binding remembers of the library's process-wide state: the library drives
one board for the whole process, whichever Board object a call comes through.  Read and
written under the library lock only."""

from __future__ import annotations

import weakref
from typing import TYPE_CHECKING, Optional

if TYPE_CHECKING:
    from .analog import Stream
    from .board import Board

#: Boards not closed yet, kept alive so that they are closed at interpreter exit.
open_boards: "set[Board]" = set()
#: The driver library loaded, once a load succeeded; it stays loaded for the process.
driver_library: Optional[str] = None
#: The stream whose channel the library is fetching.  A weak reference, so that a
#: stream dropped by a ``break`` is collected and stops itself.
stream: "Optional[weakref.ref[Stream]]" = None
#: The analog output channel generating a clocked block.
generating: Optional[int] = None
#: Per port, the direction mask set through the binding since the last close.
port_masks: dict[int, int] = {}
#: Per port, the last value written (the library, too, keeps it across a close).
port_values: dict[int, int] = {}


def active_stream() -> "Optional[Stream]":
    """The stream being fetched, if it is still alive."""
    return stream() if stream is not None else None
