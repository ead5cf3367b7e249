"""Argument checks made before the library is called: the types and ranges that the C
interface cannot express (a port value wider than 8 bits would be cut silently, an
index wider than a C int would wrap)."""

from __future__ import annotations

import math
import operator
from numbers import Real
from typing import Optional, Union

INT_MIN = -(2**31)
INT_MAX = 2**31 - 1


def integer(value: object, name: str, low: int = INT_MIN, high: int = INT_MAX) -> int:
    """An integer within low..high (TypeError for another type, ValueError outside)."""
    if isinstance(value, bool):
        raise TypeError(f"{name} must be an integer, not bool")
    try:
        number = operator.index(value)  # type: ignore[arg-type]
    except TypeError:
        raise TypeError(f"{name} must be an integer, not {type(value).__name__}") from None
    if not low <= number <= high:
        raise ValueError(f"{name} must be within {low} to {high}, not {number}")
    return number


def real(value: object, name: str) -> float:
    """A real number other than NaN."""
    if isinstance(value, bool) or not isinstance(value, Real):
        raise TypeError(f"{name} must be a number, not {type(value).__name__}")
    number = float(value)
    if math.isnan(number):
        raise ValueError(f"{name} must be a number, not NaN")
    return number


def rate(value: object) -> float:
    """A sample rate: finite and positive."""
    number = real(value, "rate")
    if not 0.0 < number < math.inf:
        raise ValueError(f"rate must be positive and finite, not {number}")
    return number


def timeout(value: object) -> float:
    """A timeout in seconds: zero or more, or -1 to wait as long as the driver allows."""
    number = real(value, "timeout")
    if not (0.0 <= number < math.inf or number == -1.0):
        raise ValueError(f"timeout must be zero or more seconds, or -1, not {number}")
    return number


def count(value: object, name: str) -> int:
    """A number of samples for one C call."""
    return integer(value, name, 1, INT_MAX)


def source(value: Optional[Union[str, int]], slot: int) -> Optional[bytes]:
    """A trigger source: None for none, an input channel number, or a terminal name."""
    if value is None:
        return None
    if isinstance(value, str):
        return value.encode("utf-8")
    return f"PXI1Slot{slot}/ai{integer(value, 'trigger', 0)}".encode("ascii")
