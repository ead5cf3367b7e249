"""Window captures as the Xvfb checks take them (binary PPM, as xwd and xwdtopnm give
them): loaded as pixel arrays, and compared.

    /usr/bin/python3 scripts/ppm_image.py diff FIRST.ppm SECOND.ppm

prints how many pixels differ and their bounding box, "count x0 y0 x1 y1" (all 0 when
none do).
"""
import sys

import numpy as np
import numpy.typing as npt

Image = npt.NDArray[np.uint8]


def load_ppm(path: str) -> Image:
    """The capture's pixels, rows by columns by red, green and blue."""
    data = open(path, "rb").read()
    fields: list[bytes] = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = np.frombuffer(data, np.uint8, width * height * 3, position + 1)
    return pixels.reshape(height, width, 3)


def difference(first: Image, second: Image) -> tuple[int, int, int, int, int]:
    """How many pixels differ, and the box around them; the captures' common part only."""
    height = min(first.shape[0], second.shape[0])
    width = min(first.shape[1], second.shape[1])
    changed = np.any(first[:height, :width] != second[:height, :width], axis=2)
    ys, xs = np.nonzero(changed)
    if len(xs) == 0:
        return 0, 0, 0, 0, 0
    return len(xs), int(xs.min()), int(ys.min()), int(xs.max()), int(ys.max())


def main(arguments: list[str]) -> int:
    if len(arguments) != 3 or arguments[0] != "diff":
        print(__doc__, file=sys.stderr)
        return 2
    print(*difference(load_ppm(arguments[1]), load_ppm(arguments[2])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
