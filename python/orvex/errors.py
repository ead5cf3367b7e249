"""The exception and warning that carry the library's statuses."""

from __future__ import annotations


class Error(Exception):
    """A call of the orvex library failed: a negative status.

    ``code`` is the library's status, unchanged: the board driver's status, or -1 when
    one of the library's own argument checks failed.  ``text`` is the library's error
    text for it (the driver's description, or the failed check's message), unchanged.
    ``function`` names the C function that failed.
    """

    code: int
    text: str
    function: str

    def __init__(self, code: int, text: str, function: str = "") -> None:
        super().__init__(code, text, function)
        self.code = code
        self.text = text
        self.function = function

    def __str__(self) -> str:
        where = f"{self.function}: " if self.function else ""
        return f"{where}error {self.code}: {self.text}"


class CheckError(Error, ValueError):
    """The library refused an argument with its own check (status -1), for example a
    channel or port out of range.  It is also a ``ValueError``."""


class DriverWarning(UserWarning):
    """A call succeeded with a driver warning: a positive status, in ``code``."""

    code: int
    function: str

    def __init__(self, code: int, function: str = "") -> None:
        where = f"{function}: " if function else ""
        super().__init__(f"{where}driver warning {code}")
        self.code = code
        self.function = function


class RecordingError(Error):
    """A recording's files cannot be written (a full disk, a folder that went away): the
    recording is over, and the files keep what was flushed.  ``text`` names the file and
    the system's reason."""
