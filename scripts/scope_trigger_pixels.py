"""Where the scope's trigger mark and its trace's crossing of the trigger level lie in
captures of its window (PPM files, as xwd and xwdtopnm give them).

For each capture it finds the plot by its background, the trigger mark's time from the
triangle over the plot and its level from the triangle at the plot's right edge, and
the trace's rising crossing of that level nearest the mark; it prints one line per
capture and fails (status 1) when a crossing is more than the tolerance away from its
mark.  Both triangles and the trace share the trace's colour, which the weights below
tell from the grey background, grid and text by its red over its blue.

    /usr/bin/python3 scripts/scope_trigger_pixels.py [--tolerance PIXELS] CAPTURE.ppm ...
"""
import argparse
import sys

import numpy as np
import numpy.typing as npt

from ppm_image import Image, load_ppm

Weights = npt.NDArray[np.float64]

BACKGROUND = (16, 16, 16)
MARK_HEIGHT = 9  # the triangle over the plot, from its top
MARK_HALF_WIDTH = 6
LEVEL_MARK_DEPTH = 9  # the triangle at the right edge, from the edge
SEARCH = 60  # columns either side of the mark where the crossing is looked for


def plot_of(image: Image) -> Image:
    """The plot widget's pixels: the rows and columns mostly of its background, and the
    frame around them.  Text elsewhere in the window has a few such pixels too."""
    background = np.all(image == BACKGROUND, axis=2)
    if not background.any():
        raise ValueError("no plot background in the capture")
    rows = np.nonzero(background.sum(axis=1) > background.sum(axis=1).max() // 2)[0]
    columns = np.nonzero(background.sum(axis=0) > background.sum(axis=0).max() // 2)[0]
    return image[rows.min() - 1:rows.max() + 2, columns.min() - 1:columns.max() + 2]


def trace_weights(plot: Image) -> Weights:
    """How much of each pixel the trace's colour covers, 0 to 1."""
    red = plot[:, :, 0].astype(np.float64)
    blue = plot[:, :, 2].astype(np.float64)
    weights: Weights = np.clip((red - blue) / 255.0, 0.0, 1.0)
    return weights


def centroid(weights: Weights) -> float:
    """The weighted mean of the pixel centres' index along the last axis."""
    total = float(weights.sum())
    if total == 0.0:
        raise ValueError("no pixels of the trace's colour where a mark should be")
    return float((weights * (np.arange(weights.shape[-1]) + 0.5)).sum()) / total


def mark_x(weights: Weights) -> float:
    return centroid(weights[:MARK_HEIGHT + 1, :])


def level_y(weights: Weights) -> float:
    """The level triangle's centre, looked for within a division of the plot's middle,
    so that the trace passing the right edge elsewhere does not pull it."""
    height = weights.shape[0]
    division = height // 8
    top = height // 2 - division
    band = weights[top:top + 2 * division, -(LEVEL_MARK_DEPTH + 1):]
    return top + centroid(band.T)


def rising_crossing(weights: Weights, level: float, near: float) -> float:
    """Where the trace's centre line rises through the level, between column centres,
    nearest the given column."""
    body = weights.copy()
    body[:MARK_HEIGHT + 2, :] = 0.0  # the mark over the plot
    body[:, -(LEVEL_MARK_DEPTH + 2):] = 0.0  # the level mark
    rows = np.arange(body.shape[0]) + 0.5
    totals = body.sum(axis=0)
    centres = np.where(totals > 0, (body * rows[:, None]).sum(axis=0) / np.maximum(totals, 1e-9),
                       np.nan)
    first = max(0, int(near) - SEARCH)
    last = min(body.shape[1] - 1, int(near) + SEARCH)
    found: list[float] = []
    for column in range(first, last):
        here, right = centres[column], centres[column + 1]
        # Rising on the screen: the trace climbs, so its row falls through the level.
        if np.isfinite(here) and np.isfinite(right) and here >= level > right:
            found.append(column + 0.5 + (here - level) / (here - right))
    if not found:
        raise ValueError(f"no rising crossing of row {level:.2f} near column {near:.1f}")
    return min(found, key=lambda x: abs(x - near))


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tolerance", type=float, default=1.0, help="pixels (default 1)")
    parser.add_argument("captures", nargs="+")
    arguments = parser.parse_args()
    worst = 0.0
    crossings: list[float] = []
    for path in arguments.captures:
        try:
            plot = plot_of(load_ppm(path))
            weights = trace_weights(plot)
            mark = mark_x(weights)
            level = level_y(weights)
            crossing = rising_crossing(weights, level, mark)
        except ValueError as error:
            print(f"{path}: {error}", file=sys.stderr)
            return 1
        crossings.append(crossing)
        worst = max(worst, abs(crossing - mark))
        print(f"{path}: plot {plot.shape[1]}x{plot.shape[0]}, mark at x {mark:.2f}, "
              f"level at y {level:.2f}, rising crossing at x {crossing:.2f} "
              f"({crossing - mark:+.2f})")
    print(f"{len(crossings)} captures: the crossing at most {worst:.2f} px from the mark, "
          f"spread over {max(crossings) - min(crossings):.2f} px")
    return 0 if worst <= arguments.tolerance else 1


if __name__ == "__main__":
    sys.exit(main())
