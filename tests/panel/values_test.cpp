// Control values by kind, and the controls the program creates at run time.
#include "panel_fixture.h"
#include "support/panel_test_access.h"
#include "widgets/led_indicator.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

struct ValueCase {
    const char *name;
    int control;
    double set;   // given as a double
    bool asInt;   // or as an int (set is then a whole number)
    int result;   // of SetCtrlVal
    double shown; // GetCtrlVal as double afterwards
    int shownInt; // and as int
};

void PrintTo(const ValueCase &value, std::ostream *out) {
    *out << value.name;
}

class ControlValue : public PanelTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ControlValue, SetThenGetAsIntAndAsDouble) {
    const ValueCase &c = GetParam();
    const int result = c.asInt ? SetCtrlVal(panel, c.control, static_cast<int>(c.set))
                               : SetCtrlVal(panel, c.control, c.set);
    EXPECT_EQ(result, c.result);
    double shown = notANumber;
    int shownInt = -12345;
    EXPECT_EQ(GetCtrlVal(panel, c.control, &shown), 0);
    EXPECT_EQ(GetCtrlVal(panel, c.control, &shownInt), 0);
    EXPECT_DOUBLE_EQ(shown, c.shown);
    EXPECT_EQ(shownInt, c.shownInt);
}

// The file starts the selector at 0, the field at 1.0, the indicator at 0.0, the switch off.
INSTANTIATE_TEST_SUITE_P(
    ByKind, ControlValue,
    ::testing::Values(
        ValueCase{"SelectorIndex", SELECTOR, 2, true, 0, 2.0, 2},
        ValueCase{"SelectorFromDouble", SELECTOR, 1.0, false, 0, 1.0, 1},
        ValueCase{"SelectorPastLastItemRefused", SELECTOR, 3, true, UI_ERROR_BAD_VALUE, 0.0, 0},
        ValueCase{"SelectorNegativeRefused", SELECTOR, -1, true, UI_ERROR_BAD_VALUE, 0.0, 0},
        ValueCase{"FieldDouble", FIELD, -2.25, false, 0, -2.25, -2},
        ValueCase{"FieldFromInt", FIELD, 3, true, 0, 3.0, 3},
        ValueCase{"FieldHeldToItsRange", FIELD, 25.0, false, 0, 10.0, 10},
        ValueCase{"FieldNaNRefused", FIELD, notANumber, false, UI_ERROR_BAD_VALUE, 1.0, 1},
        ValueCase{"IndicatorRoundsToNearestInt", INDICATOR, 2.5, false, 0, 2.5, 3},
        ValueCase{"IndicatorNegative", INDICATOR, -7.75, false, 0, -7.75, -8},
        ValueCase{"SwitchAnyNonzeroIsOn", SWITCH, -5, true, 0, 1.0, 1},
        ValueCase{"SwitchZeroIsOff", SWITCH, 0, true, 0, 0.0, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PanelTest, ControlsWithoutValuesRefuseThem) {
    double value = 0;
    for (const int control : {BUTTON, STOPPED_TIMER, GRAPH}) {
        EXPECT_EQ(SetCtrlVal(panel, control, 1), UI_ERROR_WRONG_KIND) << control;
        EXPECT_EQ(GetCtrlVal(panel, control, &value), UI_ERROR_WRONG_KIND) << control;
    }
}

TEST_F(PanelTest, UnknownPanelOrControlIsRefused) {
    int value = 0;
    EXPECT_EQ(SetCtrlVal(panel, 99, 1), UI_ERROR_BAD_CONTROL);
    EXPECT_EQ(GetCtrlVal(panel, 99, &value), UI_ERROR_BAD_CONTROL);
    EXPECT_EQ(SetCtrlVal(panel + 1000, FIELD, 1), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(GetCtrlVal(panel, FIELD, static_cast<int *>(nullptr)), UI_ERROR_BAD_VALUE);
}

class CreatedControl : public PanelTest {
  protected:
    QWidget *widget(int control) const { return panel_test::controlWidget(panel, control); }
};

TEST_F(CreatedControl, IdsAreFreshAndAboveTheFilesIds) {
    const int first = NewCtrl(panel, CTRL_LED_NO_LABEL, nullptr, 0, 0);
    const int second = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "AD0", 0, 40);
    const int third = NewCtrl(panel, CTRL_LED_WITH_LABEL, "S1", 30, 130);
    EXPECT_GT(first, HIGHEST_FILE_ID);
    EXPECT_GT(second, first);
    EXPECT_GT(third, second);
}

struct Placement {
    const char *name;
    int style;
    const char *label;
    int top;
    int left;
};

void PrintTo(const Placement &placement, std::ostream *out) {
    *out << placement.name;
}

class CreatedAt : public CreatedControl, public ::testing::WithParamInterface<Placement> {};

TEST_P(CreatedAt, StandsAtTopLeftWithItsLabel) {
    const Placement &p = GetParam();
    const int id = NewCtrl(panel, p.style, p.label, p.top, p.left);
    ASSERT_GT(id, 0);
    QWidget *created = widget(id);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->pos(), QPoint(p.left, p.top));
    EXPECT_TRUE(created->isVisible());
    EXPECT_LE(created->height(), 30) << "rows of created controls are 30 pixels apart";
    const QString expected = p.label ? QString(p.label) : QString();
    if (auto *button = qobject_cast<QPushButton *>(created)) {
        EXPECT_EQ(button->text(), expected);
    } else {
        auto *led = qobject_cast<panel::LedIndicator *>(created);
        ASSERT_TRUE(led);
        EXPECT_EQ(led->label(), p.style == CTRL_LED_WITH_LABEL ? expected : QString());
        EXPECT_GE(led->width(), led->sizeHint().width()) << "the label must fit";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CreatedAt,
    ::testing::Values(Placement{"IndicatorWithoutLabel", CTRL_LED_NO_LABEL, nullptr, 450, 0},
                      Placement{"PushButton", CTRL_SQUARE_COMMAND_BUTTON, "AD15", 0, 40},
                      Placement{"PushButtonNoLabel", CTRL_SQUARE_COMMAND_BUTTON, nullptr, 60, 40},
                      Placement{"IndicatorWithLabel", CTRL_LED_WITH_LABEL, "S4", 210, 130}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CreatedControl, UnknownStyleOrPanelIsRefused) {
    EXPECT_EQ(NewCtrl(panel, 12345, "x", 0, 0), UI_ERROR_WRONG_KIND);
    EXPECT_EQ(NewCtrl(panel + 1000, CTRL_LED_NO_LABEL, nullptr, 0, 0), UI_ERROR_BAD_PANEL);
}

TEST_F(CreatedControl, ButtonDeliversCommitsToTheCallbackGivenByCode) {
    static std::vector<RecordedEvent> seen;
    seen.clear();
    const int id = NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "AD5", 150, 40);
    const CtrlCallbackPtr callback = [](int p, int control, int event, void *, int, int) {
        seen.push_back({p, control, event});
        return 0;
    };
    ASSERT_EQ(SetCtrlAttribute(panel, id, ATTR_CALLBACK_FUNCTION_POINTER, callback), 0);
    QTest::mouseClick(widget(id), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<RecordedEvent>{{panel, id, EVENT_COMMIT}}));
}

TEST_F(CreatedControl, IndicatorLightsForAnyNonzeroInt) {
    const int id = NewCtrl(panel, CTRL_LED_WITH_LABEL, "S2", 90, 130);
    auto *led = qobject_cast<panel::LedIndicator *>(widget(id));
    ASSERT_TRUE(led);
    for (const int value : {1, -1, 255, 0, INT32_MIN}) {
        EXPECT_EQ(SetCtrlVal(panel, id, value), 0);
        EXPECT_EQ(led->isOn(), value != 0) << value;
    }
    QTest::mouseClick(led, Qt::LeftButton);
    EXPECT_TRUE(eventLog().events.empty());
}

TEST_F(CreatedControl, DiscardTakesTheCreatedControlsWithThePanel) {
    const int id = NewCtrl(panel, CTRL_LED_NO_LABEL, nullptr, 0, 0);
    const QPointer<QWidget> created = widget(id);
    DiscardPanel(panel);
    EXPECT_TRUE(created.isNull());
}

TEST_F(CreatedControl, UnknownIsNeitherLitNorDarkUntilTheNextValue) {
    const int id = NewCtrl(panel, CTRL_LED_NO_LABEL, nullptr, 0, 0);
    auto *led = qobject_cast<panel::LedIndicator *>(widget(id));
    ASSERT_TRUE(led);
    SetCtrlVal(panel, id, 1);
    EXPECT_EQ(SetCtrlAttribute(panel, id, ATTR_VALUE_UNKNOWN, 1), 0);
    EXPECT_TRUE(led->isUnknown());
    double shown = 0.0;
    EXPECT_EQ(GetCtrlVal(panel, id, &shown), 0);
    EXPECT_TRUE(std::isnan(shown));
    int asInt = 7;
    EXPECT_EQ(GetCtrlVal(panel, id, &asInt), UI_ERROR_BAD_VALUE);
    EXPECT_EQ(asInt, 7);
    EXPECT_EQ(SetCtrlVal(panel, id, 1), 0);
    EXPECT_FALSE(led->isUnknown());
    EXPECT_TRUE(led->isOn());
}

TEST_F(PanelTest, AnUnknownDisplayShowsNoNumberUntilTheNextValue) {
    auto *display = qobject_cast<QDoubleSpinBox *>(panel_test::controlWidget(panel, INDICATOR));
    ASSERT_TRUE(display);
    SetCtrlVal(panel, INDICATOR, 2.5);
    EXPECT_EQ(SetCtrlAttribute(panel, INDICATOR, ATTR_VALUE_UNKNOWN, 1), 0);
    EXPECT_EQ(display->text(), "unknown");
    double shown = 0.0;
    GetCtrlVal(panel, INDICATOR, &shown);
    EXPECT_TRUE(std::isnan(shown));
    SetCtrlVal(panel, INDICATOR, 1.25);
    EXPECT_DOUBLE_EQ(display->value(), 1.25);
    EXPECT_NE(display->text(), "unknown");
    // Only indicators and displays have an unknown state.
    EXPECT_EQ(SetCtrlAttribute(panel, BUTTON, ATTR_VALUE_UNKNOWN, 1), UI_ERROR_WRONG_KIND);
}

} // namespace
