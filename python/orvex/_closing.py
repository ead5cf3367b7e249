"""The ``with`` protocol of everything the package opens: the end of the block closes it,
however the block ends."""

from __future__ import annotations

from types import TracebackType
from typing import Optional, Self, Type


class ClosesAtEnd:
    """``with`` over the subclass's close()."""

    __slots__ = ()

    def close(self) -> None:
        raise NotImplementedError

    def __enter__(self) -> Self:
        return self

    def __exit__(self, kind: Optional[Type[BaseException]], value: Optional[BaseException],
                 traceback: Optional[TracebackType]) -> None:
        self.close()
