"""What the streams have in common: they stop on close(), at the end of a ``with``
block and when they are dropped, through their own close_locked()."""

from __future__ import annotations

from contextlib import contextmanager
from typing import Iterator, Optional

from ._closing import ClosesAtEnd
from ._library import lock
from .errors import Error


class StopsWhenDone(ClosesAtEnd):
    """close(), the ``with`` protocol and the stop of a dropped stream, over the
    subclass's close_locked(), which stops it under the library's lock and returns the
    stop's failure instead of raising it."""

    __slots__ = ()

    @property
    def running(self) -> bool:
        raise NotImplementedError

    def close_locked(self) -> Optional[Error]:
        raise NotImplementedError

    @contextmanager
    def _ending_on_failure(self) -> Iterator[None]:
        """Whatever keeps a block from its caller (a failure, a warning made an error, a
        KeyboardInterrupt) ends the stream: the next block would not follow the last
        one given.  A failed stop leaves the stream running, for close(); the failure
        that ended the block is the one raised."""
        try:
            yield
        except BaseException:
            with lock:
                self.close_locked()
            raise

    def close(self) -> None:
        """Stops the stream; closing a stopped stream does nothing."""
        with lock:
            failure = self.close_locked()
        if failure is not None:
            raise failure

    def __del__(self) -> None:
        if self.running:
            with lock:
                self.close_locked()
