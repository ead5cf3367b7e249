// One frame of the scope drawn from a history of 10^8 samples into a 1000x400 image: the whole
// history on screen, and a window of 10^3 samples; and the history taking in a live scan.
#include "bench_signal.h"
#include "core/sample_history.h"
#include "frame_cases.h"
#include "view/trace_renderer.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace scope {
namespace {

void fill(SampleHistory &history) {
    constexpr long long block = 1 << 16;
    BenchSignal signal(history.channels());
    std::vector<double> scans(static_cast<std::size_t>(block * history.channels()));
    for (long long done = 0; done < history.capacity(); done += block) {
        signal.fill(scans.data(), block);
        history.append(scans.data(), block);
    }
}

const SampleHistory &fullHistory(int channels) {
    static std::unique_ptr<SampleHistory> history;
    if (!history || history->channels() != channels) {
        history.reset();
        history = std::make_unique<SampleHistory>(channels, historySamples);
        fill(*history);
    }
    return *history;
}

void drawFrames(benchmark::State &state, int channels, double span) {
    const SampleHistory &history = fullHistory(channels);
    std::vector<TraceStyle> styles;
    for (int k = 0; k < channels; ++k) {
        styles.push_back({k, 0xFF000000U | (0x30E0FFU + 0x101010U * unsigned(k)), 1.0, 0.0});
    }
    QImage background(frameWidth, frameHeight, QImage::Format_ARGB32_Premultiplied);
    background.fill(0xFF101010);
    QImage image = background.copy();
    TouchedRows touched;
    touched.reset(background);
    const double start = span >= double(history.capacity())
                             ? double(history.first())
                             : double(history.total()) - span - windowBeforeNewest;
    for (auto _ : state) {
        touched.restore(image, background);
        drawTraces(image, touched, history, styles, start, span);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["samples"] = double(history.capacity()) * channels;
}

// A second of 16 channels at 62.5 kS/s taken into the history, in blocks of 15 ms.
void BM_TakeInASecondOfSixteenChannels(benchmark::State &state) {
    constexpr int channels = 16;
    constexpr long long perBlock = 938;
    SampleHistory history(channels, historySamples);
    std::vector<double> block(static_cast<std::size_t>(perBlock * channels), 0.5);
    for (auto _ : state) {
        for (long long done = 0; done < 62500; done += perBlock) {
            history.append(block.data(), perBlock);
        }
        if (history.total() >= history.capacity()) {
            history.clear();
        }
    }
}

BENCHMARK(BM_TakeInASecondOfSixteenChannels)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace scope

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    scope::registerFrames(scope::drawFrames);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
