// Zooming and scrolling the screen in roll mode while the scan runs.
#include "event_wait.h"
#include "fake_stand.h"

#include "core/scope_setup.h"
#include "window/scope_plot.h"
#include "window/scope_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>

namespace scope {
namespace {

using scope_test::waitFor;

TEST(RollZoomTest, TheWheelZoomsOnTheNewestADragHoldsTheStretchAndEndFollowsAgain) {
    ScopeWindow window;
    window.setScanSource(scope_test::fakeSource(std::make_shared<scope_test::FakeStand>()));
    window.resize(1200, 800);
    window.show();
    ScopeSetup setup;
    setup.mode = SweepMode::Roll;
    setup.rate = 100000.0;
    setup.secondsPerDivision = 1e-3;
    setup.historyBound = 10'000'000;
    window.applySetup(setup);
    window.run();
    ASSERT_TRUE(waitFor([&] { return window.history()->total() > 20000; }));
    window.tick();
    ScopePlot *plot = window.plot();
    const double timeBaseSpan = plot->frame().span;
    const QPoint middle(plot->width() / 2, plot->height() / 2);
    // The frames and the samples both come on this thread: a tick's frame is read before
    // any sample more arrives.
    const auto newest = [&] { return double(window.history()->total()); };

    QWheelEvent wheel(middle, plot->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
    QTest::qWait(50);
    window.tick();
    const double zoomed = plot->frame().span;
    EXPECT_LT(zoomed, timeBaseSpan);
    EXPECT_DOUBLE_EQ(plot->frame().start + zoomed, newest());

    // Dragged right: back into the history, where the screen stays as samples come.
    const double followed = plot->frame().start;
    const QPoint to = middle + QPoint(200, 0);
    QTest::mousePress(plot, Qt::LeftButton, {}, middle);
    QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
    const double held = plot->frame().start;
    EXPECT_NEAR(held, followed - 200.0 / plot->width() * zoomed, 1e-6);
    const double totalAtDrag = newest();
    ASSERT_TRUE(waitFor([&] { return newest() > totalAtDrag + 5000; }));
    window.tick();
    EXPECT_DOUBLE_EQ(plot->frame().start, held);
    EXPECT_DOUBLE_EQ(plot->frame().span, zoomed);
    EXPECT_TRUE(window.message().contains("End returns")) << window.message().toStdString();

    QTest::keyClick(plot, Qt::Key_End);
    QTest::qWait(50);
    window.tick();
    EXPECT_DOUBLE_EQ(plot->frame().start + plot->frame().span, newest());
    EXPECT_DOUBLE_EQ(plot->frame().span, zoomed);
    EXPECT_FALSE(window.message().contains("End returns")) << window.message().toStdString();
    window.stop();
}

} // namespace
} // namespace scope
