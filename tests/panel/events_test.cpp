// Events: commits come from what the user does and never from values the program sets;
// the close control reaches the panel callback; the event loop ends with the given code.
#include "panel_fixture.h"
#include "support/panel_test_access.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Events = std::vector<RecordedEvent>;

class UserAction : public PanelTest {
  protected:
    Events commitOf(int control) const { return {{panel, control, EVENT_COMMIT}}; }
    QWidget *widget(int control) const { return panel_test::controlWidget(panel, control); }
};

TEST_F(UserAction, ButtonPressCommits) {
    QTest::mouseClick(widget(BUTTON), Qt::LeftButton);
    EXPECT_EQ(eventLog().events, commitOf(BUTTON));
}

TEST_F(UserAction, SwitchFlipCommitsAndChangesTheValue) {
    QWidget *onOff = widget(SWITCH);
    // On the box itself: the switch reacts to its box and label, not the empty rest.
    QTest::mouseClick(onOff, Qt::LeftButton, {}, QPoint(8, onOff->height() / 2));
    EXPECT_EQ(eventLog().events, commitOf(SWITCH));
    int value = 0;
    GetCtrlVal(panel, SWITCH, &value);
    EXPECT_EQ(value, 1);
}

TEST_F(UserAction, SelectionByKeyboardCommitsTheNewIndex) {
    int seen = -1;
    eventLog().reaction = [&seen](int p, int control, int) { GetCtrlVal(p, control, &seen); };
    QTest::keyClick(widget(SELECTOR), Qt::Key_Down);
    EXPECT_EQ(eventLog().events, commitOf(SELECTOR));
    EXPECT_EQ(seen, 1); // the callback already reads the chosen item
}

TEST_F(UserAction, TypedNumberCommitsOnceWhenEntered) {
    auto *field = static_cast<QDoubleSpinBox *>(widget(FIELD));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "3.5");
    EXPECT_TRUE(eventLog().events.empty()) << "a half-typed number is not committed";
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(eventLog().events, commitOf(FIELD));
    double value = 0;
    GetCtrlVal(panel, FIELD, &value);
    EXPECT_DOUBLE_EQ(value, 3.5);
}

TEST_F(UserAction, StepKeyCommitsAtOnce) {
    QTest::keyClick(widget(FIELD), Qt::Key_Up);
    EXPECT_EQ(eventLog().events, commitOf(FIELD));
    double value = 0;
    GetCtrlVal(panel, FIELD, &value);
    EXPECT_DOUBLE_EQ(value, 1.5); // 1.0 plus the file's step of 0.5
}

TEST_F(UserAction, IndicatorNeverCommits) {
    QTest::keyClick(widget(INDICATOR), Qt::Key_Up);
    QTest::mouseClick(widget(INDICATOR), Qt::LeftButton);
    EXPECT_TRUE(eventLog().events.empty());
}

TEST_F(UserAction, ValuesTheProgramSetsRaiseNoEvent) {
    EXPECT_EQ(SetCtrlVal(panel, SELECTOR, 2), 0);
    EXPECT_EQ(SetCtrlVal(panel, FIELD, -4.0), 0);
    EXPECT_EQ(SetCtrlVal(panel, INDICATOR, 7.25), 0);
    EXPECT_EQ(SetCtrlVal(panel, SWITCH, 1), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(eventLog().events.empty());
}

TEST_F(UserAction, CallbackReplacedByCodeReceivesTheEvents) {
    static std::vector<int> seenByReplacement;
    seenByReplacement.clear();
    const CtrlCallbackPtr replacement = [](int, int control, int event, void *, int, int) {
        seenByReplacement.push_back(control * 100 + event);
        return 0;
    };
    ASSERT_EQ(SetCtrlAttribute(panel, BUTTON, ATTR_CALLBACK_FUNCTION_POINTER, replacement), 0);
    QTest::mouseClick(widget(BUTTON), Qt::LeftButton);
    EXPECT_TRUE(eventLog().events.empty());
    EXPECT_EQ(seenByReplacement, std::vector<int>{BUTTON * 100 + EVENT_COMMIT});
}

TEST_F(UserAction, ClosingTheWindowAsksThePanelCallbackAndKeepsTheWindowOpen) {
    QWidget *window = panel_test::panelWidget(panel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(eventLog().events, (Events{{panel, 0, EVENT_CLOSE}}));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UserAction, CallbackMayDiscardItsOwnPanel) {
    const QPointer<QWidget> window = panel_test::panelWidget(panel);
    eventLog().reaction = [](int p, int, int) { DiscardPanel(p); };
    QTest::mouseClick(widget(BUTTON), Qt::LeftButton);
    EXPECT_EQ(panel_test::panelWidget(panel), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }));
}

TEST(EventLoop, RunReturnsTheCodeGivenToQuit) {
    QTimer::singleShot(0, [] { QuitUserInterface(42); });
    EXPECT_EQ(RunUserInterface(), 42);
}

TEST(EventLoop, QuitFromACallbackEndsTheLoopAfterTheCallback) {
    resetEventLog();
    const int panel = LoadPanel(0, testFile("test_panel.ui").c_str(), TEST_PANEL);
    ASSERT_GT(panel, 0);
    eventLog().reaction = [](int, int, int) { QuitUserInterface(3); };
    QTimer::singleShot(0, [panel] {
        QTest::mouseClick(panel_test::controlWidget(panel, BUTTON), Qt::LeftButton);
    });
    EXPECT_EQ(RunUserInterface(), 3);
    EXPECT_EQ(eventLog().events.size(), 1u);
    DiscardPanel(panel);
    resetEventLog();
}

TEST(EventLoop, QuitWithoutARunningLoopIsRefused) {
    EXPECT_EQ(QuitUserInterface(0), UI_ERROR_NOT_RUNNING);
}

} // namespace
