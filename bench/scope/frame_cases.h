// The frames the scope's picture is measured on, by whatever draws it: the whole history of
// 10^8 samples on screen and a window of 10^3 samples, of one channel and of 16, into a
// 1000x400 frame.  The names are those scripts/bench-scope-anchors.sh lines up.
#ifndef BENCH_SCOPE_FRAME_CASES_H
#define BENCH_SCOPE_FRAME_CASES_H

#include <benchmark/benchmark.h>

namespace scope {

constexpr long long historySamples = 100'000'000;
constexpr int frameWidth = 1000;
constexpr int frameHeight = 400;
// Where a window starts before the newest sample, so that it falls between samples.
constexpr double windowBeforeNewest = 12345.25;

// draw(state, channels, span) draws frames of span samples of a history of channels.
using FrameDrawer = void (*)(benchmark::State &, int, double);

inline void registerFrames(FrameDrawer draw) {
    struct Frame {
        const char *name;
        int channels;
        double span;
    };
    for (const Frame frame :
         {Frame{"BM_FrameWholeHistory", 1, double(historySamples)},
          Frame{"BM_FrameThousandSamples", 1, 1000.0},
          Frame{"BM_FrameWholeHistorySixteenChannels", 16, double(historySamples) / 16.0},
          Frame{"BM_FrameThousandSamplesSixteenChannels", 16, 1000.0}}) {
        benchmark::RegisterBenchmark(frame.name, [=](benchmark::State &state) {
            draw(state, frame.channels, frame.span);
        })->Unit(benchmark::kMillisecond);
    }
}

} // namespace scope

#endif
