// Zooming and scrolling in roll mode while the scan goes on.
#include "core/roll_view.h"

#include <gtest/gtest.h>

namespace scope {
namespace {

constexpr double timeBaseSpan = 1000.0;

// The newest samples of a history of total samples at the view's span, as the picker
// gives them, placed by the view.
Frame shown(RollView &view, long long total) {
    const double span = view.span(timeBaseSpan);
    return view.place(Frame{double(total) - span, span, std::nullopt, FrameStatus::Rolling, false});
}

TEST(RollViewTest, AZoomKeepsTheNewestAtTheRightAtTheNewSpan) {
    RollView view;
    shown(view, 5000);
    // Zoomed in around the middle of the screen.
    view.moved(4250.0, 500.0, 5000);
    EXPECT_TRUE(view.following());
    const Frame next = shown(view, 6000);
    EXPECT_DOUBLE_EQ(next.span, 500.0);
    EXPECT_DOUBLE_EQ(next.start, 5500.0);
}

TEST(RollViewTest, AScrollBackHoldsTheStretchUntilScrolledToTheNewest) {
    RollView view;
    shown(view, 5000);
    view.moved(3000.0, timeBaseSpan, 5000);
    EXPECT_FALSE(view.following());
    EXPECT_DOUBLE_EQ(shown(view, 8000).start, 3000.0);
    // Zoomed while held: held still, at the new span.
    view.moved(3100.0, 800.0, 8000);
    const Frame zoomed = shown(view, 9000);
    EXPECT_DOUBLE_EQ(zoomed.start, 3100.0);
    EXPECT_DOUBLE_EQ(zoomed.span, 800.0);
    // Dragged past the newest: following again, at the zoom.
    view.moved(8500.0, 800.0, 9000);
    EXPECT_TRUE(view.following());
    EXPECT_DOUBLE_EQ(shown(view, 10000).start, 9200.0);
    view.follow();
    EXPECT_DOUBLE_EQ(shown(view, 10000).span, timeBaseSpan);
}

} // namespace
} // namespace scope
