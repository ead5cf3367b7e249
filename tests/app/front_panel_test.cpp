// The window as a front panel: it resizes around its graph, labels what it shows and
// says what it did with an entry it could not take as it stood.
#include "app_harness.h"

#include "callbacks/digital_panel.h"
#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/xygraph.h"
#include "window/axis_titles.h"
#include "window/panel_frame.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using FrontPanel = AppOnStand;

QWidget *window() {
    return panel_test::panelWidget(panelHandle);
}

QWidget *widgetOf(int control) {
    return panel_test::controlWidget(panelHandle, control);
}

// Every control but the graph, with where it stands in the window.
std::vector<std::pair<QWidget *, QRect>> placesOfTheOtherControls() {
    std::vector<std::pair<QWidget *, QRect>> places;
    for (int id = PANEL_MODE; id <= PANEL_LOAD_SETUP; ++id) {
        QWidget *w = widgetOf(id);
        if (id != PANEL_GRAPH && w && w->isVisible()) {
            places.emplace_back(w, w->geometry());
        }
    }
    for (int line = 0; line < panelLines; ++line) {
        places.emplace_back(widgetOf(btnCtrl[line]), widgetOf(btnCtrl[line])->geometry());
    }
    return places;
}

TEST_F(FrontPanel, GrowingTheWindowGrowsTheSquarePlotAndLeavesEveryOtherControlInPlace) {
    QWidget *panel = window();
    const panel::XYGraph &graph = user::graph();
    const QRect plotBefore = graph.plotArea();
    const auto placesBefore = placesOfTheOtherControls();

    panel->resize(panel->size() + QSize(300, 200));
    const QRect plotAfter = graph.plotArea();
    EXPECT_GT(plotAfter.width(), plotBefore.width() + 150);
    EXPECT_EQ(plotAfter.width(), plotAfter.height()) << "one volt as long on both axes";
    EXPECT_EQ(graph.geometry().right(), panel->width() - 13);
    for (const auto &[widget, place] : placesBefore) {
        EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();
        EXPECT_FALSE(graph.geometry().intersects(place)) << widget->objectName().toStdString();
    }

    // Controls still answer clicks where they stand.
    QTest::mouseClick(widgetOf(btnCtrl[9]), Qt::LeftButton);
    EXPECT_EQ(portBits & 0x0FFF, 0x0200);
    user::click(PANEL_RANGE_1);
    EXPECT_DOUBLE_EQ(graph.xMax(), 1.1);
}

TEST_F(FrontPanel, TheWindowCannotShrinkBelowWhatItsControlsNeed) {
    QWidget *panel = window();
    const QSize opened = panel->size();
    panel->resize(200, 150);
    EXPECT_GE(panel->width(), opened.width());
    EXPECT_GE(panel->height(), opened.height());
    EXPECT_EQ(panel->minimumSize(), opened);
}

TEST_F(FrontPanel, AxisTitlesFollowTheSwapAndThePointSwitches) {
    const panel::XYGraph &graph = user::graph();
    EXPECT_EQ(graph.xTitle().toStdString(), axisTitle('X', false, true, true));
    EXPECT_THAT(graph.xTitle().toStdString(), HasSubstr("AI2 in V"));
    EXPECT_THAT(graph.yTitle().toStdString(), HasSubstr("AI3 in V"));

    user::setSwitch(PANEL_SWAP, true);
    EXPECT_THAT(graph.xTitle().toStdString(), HasSubstr("X: AI3"));
    EXPECT_THAT(graph.yTitle().toStdString(), HasSubstr("Y: AI2"));

    user::setSwitch(PANEL_SHOW_RAW, false);
    EXPECT_EQ(graph.xTitle().toStdString(), "X: AI3 calibrated, -1 to +1");
    user::setSwitch(PANEL_SHOW_NORM, false);
    user::setSwitch(PANEL_SHOW_RAW, true);
    EXPECT_EQ(graph.yTitle().toStdString(), "Y: AI2 in V");
}

// The label of the window whose text is this, or null.
QLabel *labelShowing(const QString &text) {
    for (QLabel *label : window()->findChildren<QLabel *>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

TEST_F(FrontPanel, EachLineRowCarriesItsPortAndLineAndEachSwitchItsLine) {
    for (int line = 0; line < panelLines; ++line) {
        const QString name = QStringLiteral("P%1.%2").arg(line / 8).arg(line % 8);
        const QLabel *label = labelShowing(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        const QRect button = widgetOf(btnCtrl[line])->geometry();
        EXPECT_EQ(label->geometry().center().y() / 30, button.center().y() / 30)
            << name.toStdString() << " stands in the row of its button";
        EXPECT_FALSE(label->geometry().intersects(button)) << name.toStdString();
    }
    for (int s = 1; s <= switchIndicators; ++s) {
        const QString name = QStringLiteral("line P1.%1").arg(s + 3);
        const QLabel *label = labelShowing(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        const QRect indicator = widgetOf(swCtrl[s])->geometry();
        EXPECT_NEAR(label->geometry().top(), indicator.bottom(), 8) << "right under S" << s;
    }
}

TEST_F(FrontPanel, AtStartBothPointsLieInsideTheAxes) {
    user::tickSampling();
    const panel::XYGraph &graph = user::graph();
    for (const panel::GraphPrimitive &p : user::plotted()) {
        EXPECT_GE(p.x1, graph.xMin());
        EXPECT_LE(p.x1, graph.xMax());
        EXPECT_GE(p.y1, graph.yMin());
        EXPECT_LE(p.y1, graph.yMax());
    }
    EXPECT_EQ(user::plotted().size(), 2u);
}

TEST_F(FrontPanel, ALinePressInInputModeSaysItIsKeptForLater) {
    user::click(btnCtrl[9]);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("P1.1 = 1 is kept for later"));
    user::choose(PANEL_MODE, 1);
    user::click(btnCtrl[2]);
    EXPECT_THAT(user::text(PANEL_MESSAGE), ::testing::Not(HasSubstr("P0.2")))
        << "in output mode the line is driven at once";
}

TEST_F(FrontPanel, AnIntervalTypedOutOfRangeIsToldAndTheTimerKeepsItsInterval) {
    auto *field = qobject_cast<QDoubleSpinBox *>(widgetOf(PANEL_AI_INTERVAL));
    ASSERT_NE(field, nullptr);
    const double before = panel_test::timerInterval(panelHandle, PANEL_AI_TIMER);
    field->selectAll();
    QTest::keyClicks(field, "0");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_THAT(user::text(PANEL_MESSAGE),
                HasSubstr("Sample every: that interval is out of range"));
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_AI_TIMER), before);
    EXPECT_DOUBLE_EQ(field->value(), before);
}

} // namespace
} // namespace zelbrin
