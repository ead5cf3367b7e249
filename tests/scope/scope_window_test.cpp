// The scope's window with its real worker thread, on a stand of the tests' own.
#include "event_wait.h"
#include "fake_stand.h"

#include "core/scope_setup.h"
#include "window/measurement_table.h"
#include "window/scope_plot.h"
#include "window/scope_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace scope {
namespace {

using scope_test::FakeStand;
using scope_test::waitFor;

// ai0 at 100 kS/s, 0.5 ms a division, a 1 kHz sine of 2 V on ao0, triggered at 0 V rising
// in the middle of the screen.
ScopeSetup sineSetup(SweepMode mode) {
    ScopeSetup setup;
    setup.rate = 100000.0;
    setup.secondsPerDivision = 0.5e-3;
    setup.mode = mode;
    setup.historyBound = 10'000'000;
    setup.trigger = {0, 0.0, true, 0.5};
    setup.outputs[0] = {true, Waveform::Sine, 1000.0, 2.0, 0.0, {}};
    return setup;
}

class ScopeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setScanSource(scope_test::fakeSource(stand));
        show();
    }
    void show() {
        window.resize(1200, 800);
        window.show();
    }
    void TearDown() override { window.stop(); }

    // Columns of the picture's middle row (0 V) that the yellow ai0 trace paints, near x.
    static double traceColumnAtZero(const QImage &image, double x) {
        const int row = image.height() / 2;
        double sum = 0.0;
        int count = 0;
        for (int column = int(x) - 12; column <= int(x) + 12; ++column) {
            for (int y = row - 1; y <= row; ++y) {
                const QRgb pixel = image.pixel(column, y);
                if (qRed(pixel) > 120 && qGreen(pixel) > 90 && qBlue(pixel) < 80) {
                    sum += column + 0.5;
                    ++count;
                }
            }
        }
        return count > 0 ? sum / count : -1.0;
    }

    // A 1 kHz sine of 2 V from ao0 on ai0, triggered at 0 V rising: its rising crossing stays
    // on the trigger mark, within a pixel of the picture, frame after frame.
    void checkTheTriggerMarkHolds() {
        window.applySetup(sineSetup(SweepMode::Auto));
        window.run();
        ASSERT_TRUE(waitFor([&] { return window.history() && window.history()->total() > 2000; }));
        ScopePlot *plot = window.plot();
        double markX = -1.0;
        for (int frame = 0; frame < 20; ++frame) {
            QTest::qWait(20);
            window.tick();
            ASSERT_EQ(plot->frame().status, FrameStatus::Triggered) << frame;
            const std::optional<double> x = plot->triggerMarkX();
            ASSERT_TRUE(x);
            markX = markX < 0.0 ? *x : markX;
            EXPECT_NEAR(*x, markX, 1e-6);
            EXPECT_NEAR(*x, plot->width() / 2.0, 1.0);
            const QImage picture = plot->grab().toImage();
            const double crossing = traceColumnAtZero(picture, *x);
            ASSERT_GE(crossing, 0.0) << "no trace at the mark in frame " << frame;
            EXPECT_NEAR(crossing, *x, 1.0) << frame;
        }
        window.stop();
        // Nothing lost between the source and the history.
        EXPECT_EQ(window.history()->total(), window.boardSamplesRead());
    }

    // The cursors dragged a period apart read 1 ms, and the table the sine's frequency and RMS.
    void checkTheCursorsAndMeasurements() {
        window.applySetup(sineSetup(SweepMode::Normal));
        window.run();
        bool triggered = false;
        ASSERT_TRUE(waitFor([&] {
            if (!triggered) {
                window.tick();
                triggered = window.plot()->frame().status == FrameStatus::Triggered;
            }
            return triggered;
        }));
        window.stop();
        ScopePlot *plot = window.plot();
        const double trigger = *plot->frame().trigger;
        Cursors cursors;
        cursors.shown = true;
        cursors.samples = {plot->frame().start + 10.0, plot->frame().start + 30.0};
        plot->setCursors(cursors);
        // Dragged on the screen to the trigger and to one period after it.
        const auto drag = [&](double fromSample, double toSample) {
            const QPoint from(int(std::lround(plot->xOfSample(fromSample))), plot->height() / 3);
            const QPoint to(int(std::lround(plot->xOfSample(toSample))), plot->height() / 3);
            QTest::mousePress(plot, Qt::LeftButton, {}, from);
            QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(plot, &move);
            QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
        };
        drag(cursors.samples[0], trigger);
        drag(cursors.samples[1], trigger + 100.0);
        const double seconds = std::fabs(plot->cursors().samples[1] - plot->cursors().samples[0]) *
                               window.sampleInterval();
        // A pixel is 0.6 samples here: 6 µs.
        EXPECT_NEAR(seconds, 1.000e-3, 0.007e-3);
        const QString table = window.measurements()->text();
        EXPECT_TRUE(table.contains(QString::fromUtf8("\u0394t"))) << table.toStdString();
        EXPECT_TRUE(table.contains("1000 Hz")) << table.toStdString();
        EXPECT_TRUE(table.contains("1.414 V") || table.contains("1.415 V") ||
                    table.contains("1.413 V"))
            << table.toStdString();
    }

    std::shared_ptr<FakeStand> stand = std::make_shared<FakeStand>();
    ScopeWindow window;
};

TEST_F(ScopeWindowTest, ATriggeredSineKeepsItsRisingZeroCrossingOnTheMarkFrameAfterFrame) {
    checkTheTriggerMarkHolds();
}

TEST_F(ScopeWindowTest, TheCursorsReadThePeriodAndTheTableTheFrequency) {
    checkTheCursorsAndMeasurements();
}

// The same on the simulated board, in virtual time, through the library's scans.
class BoardScopeWindowTest : public ScopeWindowTest {
  protected:
    void SetUp() override {
        window.setScanSource(boardScanSource);
        show();
    }
};

TEST_F(BoardScopeWindowTest, ATriggeredSineKeepsItsRisingZeroCrossingOnTheMarkFrameAfterFrame) {
    checkTheTriggerMarkHolds();
}

TEST_F(BoardScopeWindowTest, TheCursorsReadThePeriodAndTheTableTheFrequency) {
    checkTheCursorsAndMeasurements();
}

TEST_F(BoardScopeWindowTest, SixteenChannelsAtTheBoardsLimitLoseNoSample) {
    ScopeSetup setup = sineSetup(SweepMode::Roll);
    for (ChannelSetup &channel : setup.channels) {
        channel.enabled = true;
    }
    setup.rate = 62500.0;
    window.applySetup(setup);
    window.run();
    ASSERT_TRUE(waitFor([&] { return window.history()->total() > 62500 / 2; }));
    window.stop();
    EXPECT_TRUE(window.message().startsWith("Stopped")) << window.message().toStdString();
    EXPECT_EQ(window.history()->channels(), 16);
    EXPECT_EQ(window.history()->total(), window.boardSamplesRead());
}

TEST_F(BoardScopeWindowTest, AScanTheBoardRefusesSaysWhyAndStops) {
    ScopeSetup setup = sineSetup(SweepMode::Roll);
    setup.channels[1].enabled = true;
    setup.rate = 600000.0; // 1.2 MS/s in all: above the limit for two channels
    window.applySetup(setup);
    window.run();
    ASSERT_TRUE(waitFor([&] { return !window.running(); }));
    EXPECT_TRUE(window.message().contains("The scan stopped")) << window.message().toStdString();
}

TEST_F(ScopeWindowTest, SingleHoldsItsFrameUntilReArmed) {
    window.applySetup(sineSetup(SweepMode::Single));
    window.run();
    ASSERT_TRUE(waitFor([&] { return !window.running(); }));
    const Frame held = window.plot()->frame();
    ASSERT_EQ(held.status, FrameStatus::Held);
    EXPECT_TRUE(window.message().contains("held")) << window.message().toStdString();
    QTest::qWait(100);
    window.tick();
    EXPECT_DOUBLE_EQ(window.plot()->frame().start, held.start);
    EXPECT_EQ(window.plot()->frame().status, FrameStatus::Held);

    window.rearm();
    EXPECT_TRUE(window.running());
    window.tick();
    EXPECT_EQ(window.plot()->frame().status, FrameStatus::Waiting);
    EXPECT_TRUE(waitFor([&] { return !window.running(); }));
    EXPECT_EQ(window.plot()->frame().status, FrameStatus::Held);
    EXPECT_EQ(stand->starts, 2);
}

TEST_F(ScopeWindowTest, NormalWithoutATriggerShowsItIsWaiting) {
    ScopeSetup setup = sineSetup(SweepMode::Normal);
    setup.trigger.level = 5.0; // above the sine's peak
    window.applySetup(setup);
    window.run();
    ASSERT_TRUE(waitFor([&] { return window.history() && window.history()->total() > 5000; }));
    window.tick();
    EXPECT_EQ(window.plot()->frame().status, FrameStatus::Waiting);
    EXPECT_TRUE(window.plot()->frame().empty);
    EXPECT_TRUE(window.plot()->status().contains("Waiting for trigger"))
        << window.plot()->status().toStdString();
}

TEST_F(ScopeWindowTest, AHeldConverterShowsItsHolderAndTheScopeRecoversWhenItIsFree) {
    stand->heldStarts = 1;
    window.applySetup(sineSetup(SweepMode::Roll));
    window.run();
    ASSERT_TRUE(waitFor([&] { return window.message().contains("process 4711"); }, 1000));
    EXPECT_TRUE(window.plot()->status().contains("Trying again every second"));
    // The rest of the window keeps going while it waits.
    window.tick();
    ASSERT_TRUE(waitFor([&] { return window.history()->total() > 1000; }, 3000));
    EXPECT_FALSE(window.message().contains("4711"));
}

TEST_F(ScopeWindowTest, TheSetupIsSavedLoadedAndRemembered) {
    ScopeSetup setup = sineSetup(SweepMode::Normal);
    setup.channels[3].enabled = true;
    setup.channels[3].voltsPerDivision = 0.2;
    setup.channels[3].offset = -1.5;
    setup.channels[3].terminal = 2;
    setup.channels[3].range = 0.5;
    setup.trigger = {3, 1.25, false, 0.1};
    setup.outputs[1] = {true, Waveform::Square, 250.0, 0.75, 0.5, {}};
    setup.outputsOnScanClock = false;
    window.applySetup(setup);
    QTemporaryDir folder;
    const QString path = folder.filePath("scope.ini");
    ASSERT_TRUE(window.saveSetup(path));

    const auto same = [](const ScopeSetup &a, const ScopeSetup &b) {
        EXPECT_EQ(a.mode, b.mode);
        EXPECT_DOUBLE_EQ(a.secondsPerDivision, b.secondsPerDivision);
        EXPECT_EQ(a.enabledInputs(), b.enabledInputs());
        EXPECT_DOUBLE_EQ(a.channels[3].voltsPerDivision, b.channels[3].voltsPerDivision);
        EXPECT_DOUBLE_EQ(a.channels[3].offset, b.channels[3].offset);
        EXPECT_EQ(a.channels[3].terminal, b.channels[3].terminal);
        EXPECT_DOUBLE_EQ(a.channels[3].range, b.channels[3].range);
        EXPECT_EQ(a.trigger.input, b.trigger.input);
        EXPECT_DOUBLE_EQ(a.trigger.level, b.trigger.level);
        EXPECT_EQ(a.trigger.rising, b.trigger.rising);
        EXPECT_DOUBLE_EQ(a.trigger.preTrigger, b.trigger.preTrigger);
        EXPECT_EQ(a.outputs[1].enabled, b.outputs[1].enabled);
        EXPECT_EQ(a.outputs[1].waveform, b.outputs[1].waveform);
        EXPECT_DOUBLE_EQ(a.outputs[1].frequency, b.outputs[1].frequency);
        EXPECT_EQ(a.outputsOnScanClock, b.outputsOnScanClock);
    };
    ScopeWindow loaded;
    ASSERT_TRUE(loaded.loadSetup(path));
    same(loaded.setup(), setup);
    EXPECT_FALSE(loaded.loadSetup(folder.filePath("none.ini")));

    window.close(); // remembered for the next start
    ScopeWindow next;
    same(next.setup(), setup);
}

TEST_F(ScopeWindowTest, ExportsHoldEveryChannelAndSample) {
    ScopeSetup setup = sineSetup(SweepMode::Roll);
    setup.channels[1].enabled = true;
    window.applySetup(setup);
    window.run();
    ASSERT_TRUE(waitFor([&] { return window.history()->total() > 3000; }));
    window.tick();
    window.stop();
    QTemporaryDir folder;
    const auto linesOf = [](const QString &path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    };
    ASSERT_TRUE(window.exportCsv(folder.filePath("all.csv"), true));
    const QStringList all = linesOf(folder.filePath("all.csv"));
    EXPECT_EQ(all.front(), "time (s),ai0 (V),ai1 (V)");
    EXPECT_EQ(all.size() - 1, window.history()->total());
    EXPECT_EQ(all[2].split(',').size(), 3);
    EXPECT_DOUBLE_EQ(all[2].split(',')[0].toDouble(), 1e-5);
    EXPECT_DOUBLE_EQ(all[2].split(',')[2].toDouble(), 0.0); // ai1: nothing on ao1

    ASSERT_TRUE(window.exportCsv(folder.filePath("screen.csv"), false));
    const long long span = std::llround(window.plot()->frame().span);
    EXPECT_NEAR(linesOf(folder.filePath("screen.csv")).size() - 1, span, 1);

    ASSERT_TRUE(window.exportPng(folder.filePath("screen.png")));
    EXPECT_EQ(QImage(folder.filePath("screen.png")).size(),
              window.plot()->size() * window.plot()->devicePixelRatioF());
    EXPECT_FALSE(window.exportCsv(folder.filePath("no/such/folder.csv"), true));
}

} // namespace
} // namespace scope
