// The sixteen digital lines drawn over the scope's 1000x400 frame when every line changed at
// every reading of a history of 10^8 samples (one reading per block of 150 samples): the
// whole history on screen, and a window of 10^3 samples at its end.
#include "core/line_history.h"
#include "frame_cases.h"
#include "view/line_renderer.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <vector>

namespace scope {
namespace {

constexpr long long blockSamples = 150;

const LineHistory &busyLines() {
    static const LineHistory lines = [] {
        LineHistory made;
        std::uint16_t levels = 0;
        for (long long index = blockSamples - 1; index < historySamples; index += blockSamples) {
            levels = static_cast<std::uint16_t>(~levels);
            made.record(index, levels, 0xFFFF);
        }
        return made;
    }();
    return lines;
}

void drawLineFrames(benchmark::State &state, double span) {
    const LineHistory &lines = busyLines();
    std::vector<LineStyle> styles;
    for (int line = 0; line < lineCount; ++line) {
        styles.push_back({line, 0xFF60E0A0, QString::fromStdString(lineName(line))});
    }
    QImage image(frameWidth, frameHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(0xFF101010);
        QPainter painter(&image);
        drawLines(painter, lines, styles, double(historySamples) - span, span, 0, historySamples,
                  QSizeF(frameWidth, frameHeight));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["steps per line"] = double(lines.steps(0));
}

void BM_SixteenLinesWholeHistory(benchmark::State &state) {
    drawLineFrames(state, double(historySamples));
}
BENCHMARK(BM_SixteenLinesWholeHistory)->Unit(benchmark::kMillisecond);

void BM_SixteenLinesThousandSamples(benchmark::State &state) {
    drawLineFrames(state, 1000.0);
}
BENCHMARK(BM_SixteenLinesThousandSamples)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace scope
