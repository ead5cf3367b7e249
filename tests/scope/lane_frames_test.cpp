// The digital lines' lanes from frame to frame on the plot: a frame puts back what the lanes
// of the frame before drew, and nothing more than the plot needs.
#include "core/line_history.h"
#include "core/sample_history.h"
#include "core/scope_setup.h"
#include "window/scope_plot.h"

#include <gtest/gtest.h>

#include <QImage>
#include <vector>

namespace scope {
namespace {

constexpr int s1 = linesPerPort + 4;

TEST(LaneFramesTest, ALaneTakenOffLeavesNothingOfItInTheNextFrame) {
    constexpr long long samples = 4096;
    SampleHistory history(1, 1 << 16);
    const std::vector<double> zeros(samples, 0.0);
    history.append(zeros.data(), samples);
    // S1 high, then low half way along.
    LineHistory lines;
    lines.record(0, 1u << s1, 0xFF00);
    lines.record(samples / 2, 0, 0xFF00);

    ScopePlot plot;
    plot.resize(400, 300);
    plot.setHistory(&history);
    plot.setFrame(Frame{0.0, double(samples), std::nullopt, FrameStatus::Rolling, false});
    const QImage bare = plot.grab().toImage();
    plot.setLines(&lines, {LineStyle{s1, 0xFF40FF40, QString()}});
    const QImage withLane = plot.grab().toImage();
    plot.setLines(&lines, {});
    const QImage after = plot.grab().toImage();

    EXPECT_NE(withLane, bare);
    EXPECT_EQ(after, bare);
}

} // namespace
} // namespace scope
