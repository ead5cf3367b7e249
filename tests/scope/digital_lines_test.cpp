// The digital lines on the simulated board in virtual time: switch S1 (port 1 line 4,
// high, low while pressed) pressed from outside the scope, as a trace and as a trigger.
#include "event_wait.h"

#include "core/scope_setup.h"
#include "window/scope_plot.h"
#include "window/scope_window.h"

#include <orvex/simboard_control.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cmath>

namespace scope {
namespace {

using scope_test::waitFor;

constexpr int s1 = linesPerPort + 4;
// 10 kS/s and 50 ms a division: a screen of 5000 samples, a block of 150.
constexpr double rate = 10000.0;
constexpr double blockSamples = rate * 0.015;

ScopeSetup switchSetup(SweepMode mode) {
    ScopeSetup setup;
    setup.rate = rate;
    setup.secondsPerDivision = 50e-3;
    setup.mode = mode;
    setup.historyBound = 1'000'000;
    setup.lines = 1u << s1;
    setup.trigger = {0, 0.0, false, 0.5, s1};
    return setup;
}

class DigitalLinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(simboard_pressSwitch(1, 0), 0);
        window.setScanSource(boardScanSource);
        window.resize(1200, 800);
        window.show();
    }
    void TearDown() override {
        window.stop();
        simboard_pressSwitch(1, 0);
    }

    LineState newestLevel() const {
        const long long total = window.history() ? window.history()->total() : 0;
        return total > 0 ? window.lines().stateAt(s1, total - 1) : LineState::Unknown;
    }

    // Whether the lane of S1 is lit at its high or low level in the picture's column x.
    bool lit(const QImage &picture, int x, LineState level) const {
        EXPECT_TRUE(x >= 0 && x < picture.width()) << x;
        const int y = static_cast<int>(laneY(0, level, window.plot()->height()));
        const QRgb pixel = picture.pixel(x, y);
        return qGreen(pixel) > 150;
    }

    ScopeWindow window;
};

TEST_F(DigitalLinesTest, ASwitchPressedFromOutsideIsAnEdgeOnItsTraceAtTheNextFrame) {
    window.applySetup(switchSetup(SweepMode::Roll));
    window.run();
    ASSERT_TRUE(waitFor([&] {
        return window.history() && window.history()->total() > 2000 &&
               newestLevel() == LineState::High;
    }));
    window.tick();
    ScopePlot *plot = window.plot();
    const QImage before = plot->grab().toImage();
    EXPECT_TRUE(lit(before, plot->width() - 20, LineState::High));
    EXPECT_FALSE(lit(before, plot->width() - 20, LineState::Low));

    const long long pressedAt = window.history()->total();
    ASSERT_EQ(simboard_pressSwitch(1, 1), 0);
    ASSERT_TRUE(waitFor([&] { return newestLevel() == LineState::Low; }));
    window.tick();
    const long long total = window.history()->total();
    const std::optional<double> edge = window.lines().newestEdge(s1, false, 0, total);
    ASSERT_TRUE(edge);
    // Read once per block: the edge at the end of the first block read after the press.
    EXPECT_GE(*edge, double(pressedAt - 1));
    EXPECT_LE(*edge, double(pressedAt) + 4 * blockSamples);

    // The next frame has the edge at its right, high before it.
    const QImage next = plot->grab().toImage();
    const int x = static_cast<int>(plot->xOfSample(*edge));
    ASSERT_GT(x, plot->width() - 4 * blockSamples * plot->width() / plot->frame().span);
    EXPECT_TRUE(lit(next, x, LineState::High) && lit(next, x, LineState::Low)) << x;
    EXPECT_TRUE(lit(next, x - 10, LineState::High));
    EXPECT_FALSE(lit(next, x - 10, LineState::Low));

    // Low after it as the switch stays down.
    ASSERT_TRUE(waitFor([&] { return window.history()->total() > *edge + 3 * blockSamples; }));
    window.tick();
    const QImage later = plot->grab().toImage();
    const int movedX = static_cast<int>(plot->xOfSample(*edge));
    EXPECT_TRUE(lit(later, movedX, LineState::High) && lit(later, movedX, LineState::Low));
    EXPECT_TRUE(lit(later, movedX + 10, LineState::Low));
    EXPECT_FALSE(lit(later, movedX + 10, LineState::High));
    window.stop();
    EXPECT_EQ(window.history()->total(), window.boardSamplesRead());
}

TEST_F(DigitalLinesTest, ATriggerOnTheSwitchsLinePutsItsEdgeOnTheTriggerMark) {
    window.applySetup(switchSetup(SweepMode::Normal));
    window.run();
    // Half a screen before the edge to show.
    ASSERT_TRUE(waitFor([&] {
        return window.history() && window.history()->total() > 3000 &&
               newestLevel() == LineState::High;
    }));
    window.tick();
    EXPECT_EQ(window.plot()->frame().status, FrameStatus::Waiting);
    EXPECT_TRUE(window.message().contains("Waiting for trigger: port1/line4 falling"))
        << window.message().toStdString();

    ASSERT_EQ(simboard_pressSwitch(1, 1), 0);
    ScopePlot *plot = window.plot();
    ASSERT_TRUE(waitFor([&] {
        window.tick();
        return plot->frame().status == FrameStatus::Triggered;
    }));
    const std::optional<double> markX = plot->triggerMarkX();
    ASSERT_TRUE(markX);
    EXPECT_NEAR(*markX, plot->width() / 2.0, 1.0);
    const QImage picture = plot->grab().toImage();
    const int x = static_cast<int>(*markX);
    EXPECT_TRUE(lit(picture, x, LineState::High) && lit(picture, x, LineState::Low));
    EXPECT_TRUE(lit(picture, x - 10, LineState::High));
    EXPECT_TRUE(lit(picture, x + 10, LineState::Low));
}

TEST(DigitalSetupTest, TheChosenLinesAndALineTriggerAreSavedLoadedAndRemembered) {
    ScopeSetup setup = switchSetup(SweepMode::Single);
    setup.lines |= 1u << 3; // port0/line3
    setup.trigger.rising = true;
    QTemporaryDir folder;
    const QString path = folder.filePath("lines.ini");
    {
        ScopeWindow window;
        window.applySetup(setup);
        EXPECT_EQ(window.setup().lines, setup.lines);
        ASSERT_TRUE(window.saveSetup(path));
        window.close();
    }
    const auto same = [&](const ScopeSetup &read) {
        EXPECT_EQ(read.lines, setup.lines);
        EXPECT_EQ(read.trigger.line, s1);
        EXPECT_TRUE(read.trigger.rising);
    };
    ScopeWindow remembered;
    same(remembered.setup());
    ScopeSetup analog;
    remembered.applySetup(analog);
    EXPECT_EQ(remembered.setup().trigger.line, -1);
    ASSERT_TRUE(remembered.loadSetup(path));
    same(remembered.setup());
}

} // namespace
} // namespace scope
