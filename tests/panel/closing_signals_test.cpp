// The signals that ask a program to end, while its event loop runs: they close its shown
// panels as their close control would, on the user-interface thread, whichever thread
// they land on; with nothing to close, once the loop has ended, or when the program
// started with them ignored, they act as they did before.
#include "panel_fixture.h"
#include "support/panel_test_access.h"

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

using Events = std::vector<RecordedEvent>;

// How often the program's own handler ran.
std::atomic<int> ownHandlerRuns{0};
static_assert(std::atomic<int>::is_always_lock_free);
extern "C" void ownHandler(int) {
    ++ownHandlerRuns;
}

// A loop that is never ended otherwise ends with this code after some seconds.
constexpr int hungLoop = -99;

class ClosingSignal : public PanelTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        ownHandlerRuns = 0;
        sigaction(GetParam(), nullptr, &before_);
        act(SIG_DFL);
        hung_.setSingleShot(true);
        QObject::connect(&hung_, &QTimer::timeout, [] { QuitUserInterface(hungLoop); });
        hung_.start(5000);
    }
    void TearDown() override {
        sigaction(GetParam(), &before_, nullptr);
        PanelTest::TearDown();
    }
    void act(void (*handler)(int)) const {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        sigaction(GetParam(), &action, nullptr);
    }
    void raiseOnceRunning() const {
        QTimer::singleShot(0, [signal = GetParam()] { raise(signal); });
    }

  private:
    struct sigaction before_ {};
    QTimer hung_; // this test's alone
};

TEST_P(ClosingSignal, ClosesTheShownPanelOnTheUserInterfaceThread) {
    const std::thread::id userInterface = std::this_thread::get_id();
    std::thread::id calledOn;
    eventLog().reaction = [&calledOn](int, int, int event) {
        calledOn = std::this_thread::get_id();
        if (event == EVENT_CLOSE) {
            QuitUserInterface(5);
        }
    };
    // Raised on a thread of its own, so that it lands there.
    QTimer::singleShot(0,
                       [signal = GetParam()] { std::thread([signal] { raise(signal); }).join(); });
    EXPECT_EQ(RunUserInterface(), 5);
    EXPECT_EQ(eventLog().events, (Events{{panel, 0, EVENT_CLOSE}}));
    EXPECT_EQ(calledOn, userInterface);
    EXPECT_TRUE(panel_test::panelWidget(panel)->isVisible()) << "the program decides";
}

TEST_P(ClosingSignal, WithNoShownPanelActsAsBefore) {
    act(ownHandler);
    panel_test::panelWidget(panel)->hide();
    raiseOnceRunning();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [] {
        if (ownHandlerRuns > 0) {
            QuitUserInterface(0);
        }
    });
    poll.start(10);
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_EQ(ownHandlerRuns, 1);
    EXPECT_TRUE(eventLog().events.empty());
    raise(GetParam());
    EXPECT_EQ(ownHandlerRuns, 2) << "the program's handler is back after the loop";
}

TEST_P(ClosingSignal, IgnoredWhenTheLoopStartsStaysIgnored) {
    act(SIG_IGN);
    raiseOnceRunning();
    QTimer::singleShot(200, [] { QuitUserInterface(0); });
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_TRUE(eventLog().events.empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, ClosingSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto &info) {
                             switch (info.param) {
                             case SIGTERM:
                                 return std::string("SIGTERM");
                             case SIGINT:
                                 return std::string("SIGINT");
                             default:
                                 return std::string("SIGHUP");
                             }
                         });

} // namespace
