"""The anchor for the scope's frame: pyqtgraph, with its peak down-sampling and clip-to-view,
drawing the signal of bench/scope/bench_signal.h (the same formula, numpy's noise) into a
1000x400 image: the whole of 10^8 samples on screen and a window of 10^3, for one channel and
for 16.  A frame moves the view, as a scroll does, so that the curves are down-sampled anew,
and renders the whole plot into a QImage.  Prints the processor time of a frame in ms, by
the scope benchmark's names, as JSON.  Run by scripts/bench-scope-anchors.sh."""

import json
import os
import sys
import time
from typing import Any

import numpy as np

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
os.environ.setdefault("PYQTGRAPH_QT_LIB", "PyQt6")
import pyqtgraph as pg  # noqa: E402  (the binding is chosen by the environment above)
from pyqtgraph.Qt import QtGui  # noqa: E402

HISTORY_SAMPLES = 100_000_000
WIDTH, HEIGHT = 1000, 400
VOLTS_ON_SCREEN = 8.0
BACKGROUND = (16, 16, 16)
CHUNK = 1 << 22
MIN_SECONDS = 1.0
MIN_FRAMES = 3


def signal(channels: int, per_channel: int) -> list[Any]:
    """Each channel's samples: a sine of 317 + k samples a period, a burst of 3 V for 200
    samples every 1 000 003, and noise of 0.05 V."""
    random = np.random.default_rng(5)
    traces = [np.empty(per_channel, dtype=np.float32) for _ in range(channels)]
    for start in range(0, per_channel, CHUNK):
        t = np.arange(start, min(per_channel, start + CHUNK), dtype=np.float64)
        burst = np.where(t % 1_000_003 < 200, 3.0, 0.0)
        for k, trace in enumerate(traces):
            trace[start:start + len(t)] = (2.0 * np.sin(2.0 * np.pi * t / (317.0 + k)) + burst
                                           + random.normal(0.0, 0.05, len(t)))
    return traces


def colour(k: int) -> int:
    return (0x30E0FF + 0x101010 * k) & 0xFFFFFF


def plot_of(channels: int) -> Any:
    """A plot whose view is the whole widget, without axes, as the scope's traces."""
    widget = pg.PlotWidget(background=BACKGROUND)
    widget.resize(WIDTH, HEIGHT)
    item = widget.getPlotItem()
    item.hideAxis("left")
    item.hideAxis("bottom")
    item.layout.setContentsMargins(0, 0, 0, 0)
    item.setMenuEnabled(False)
    item.hideButtons()
    item.setDownsampling(auto=True, mode="peak")
    item.setClipToView(True)
    item.disableAutoRange()
    item.setYRange(-VOLTS_ON_SCREEN / 2, VOLTS_ON_SCREEN / 2, padding=0)
    per_channel = HISTORY_SAMPLES // channels
    x = np.arange(per_channel, dtype=np.float64)
    for k, trace in enumerate(signal(channels, per_channel)):
        item.plot(x, trace, pen=pg.mkPen(pg.mkColor(f"#{colour(k):06x}"), width=1))
    widget.show()
    pg.mkQApp().processEvents()
    return widget


def milliseconds_a_frame(widget: Any, start: float, span: float) -> float:
    item = widget.getPlotItem()
    image = QtGui.QImage(WIDTH, HEIGHT, QtGui.QImage.Format.Format_ARGB32_Premultiplied)

    def frame(shift: float) -> None:
        item.setXRange(start + shift, start + shift + span, padding=0)
        image.fill(QtGui.QColor(*BACKGROUND))
        painter = QtGui.QPainter(image)
        widget.render(painter)
        painter.end()

    frame(0.5)
    frames = 0
    began = time.process_time()
    while frames < MIN_FRAMES or time.process_time() - began < MIN_SECONDS:
        frame(0.5 * (frames % 2))
        frames += 1
    return (time.process_time() - began) * 1000.0 / frames


def main() -> int:
    pg.mkQApp()
    results: dict[str, float] = {}
    for channels, suffix in ((1, ""), (16, "SixteenChannels")):
        widget = plot_of(channels)
        view = widget.getPlotItem().getViewBox().size()
        print(f"pyqtgraph: {channels} channel(s), view {view.width():.0f}x{view.height():.0f}",
              file=sys.stderr)
        samples = HISTORY_SAMPLES // channels
        results["BM_FrameWholeHistory" + suffix] = milliseconds_a_frame(widget, 0.0, samples)
        results["BM_FrameThousandSamples" + suffix] = milliseconds_a_frame(
            widget, samples - 1000.0 - 12345.25, 1000.0)
        widget.close()
        widget.deleteLater()
        pg.mkQApp().processEvents()
    print(json.dumps(results))
    return 0


if __name__ == "__main__":
    sys.exit(main())
