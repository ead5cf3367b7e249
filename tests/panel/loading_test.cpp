// Loading panel files: what a good file yields, and every kind of bad file refused with
// one line that names the file, the fault and where it is.
#include "loader/form_scan.h"
#include "panel_fixture.h"
#include "support/panel_test_access.h"
#include "widgets/panel_timer.h"
#include "widgets/xygraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

namespace {

QByteArray goodPanelText() {
    QFile file(QString::fromStdString(testFile("test_panel.ui")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST_F(PanelTest, ControlsGetTheirKindsFromTheirWidgetClasses) {
    EXPECT_TRUE(qobject_cast<QComboBox *>(panel_test::controlWidget(panel, SELECTOR)));
    EXPECT_TRUE(qobject_cast<panel::PanelTimer *>(panel_test::controlWidget(panel, STOPPED_TIMER)));
    EXPECT_TRUE(qobject_cast<QDoubleSpinBox *>(panel_test::controlWidget(panel, FIELD)));
    EXPECT_TRUE(qobject_cast<QCheckBox *>(panel_test::controlWidget(panel, SWITCH)));
    EXPECT_TRUE(qobject_cast<QPushButton *>(panel_test::controlWidget(panel, BUTTON)));
    EXPECT_TRUE(panel_test::graphOf(panel, GRAPH));
    // Decoration has no ID, and IDs the file does not give do not exist.
    EXPECT_EQ(panel_test::controlWidget(panel, 9), nullptr);
    EXPECT_EQ(panel_test::controlWidget(panel, 0), nullptr);
}

TEST_F(PanelTest, WindowKeepsTheFilesTitleAndTimersStayInvisible) {
    QWidget *window = panel_test::panelWidget(panel);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Panel runtime test panel");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(panel_test::controlWidget(panel, STOPPED_TIMER)->isVisible());
    EXPECT_FALSE(panel_test::controlWidget(panel, RUNNING_TIMER)->isVisible());
}

TEST_F(PanelTest, EachLoadIsAPanelOfItsOwn) {
    const int second = LoadPanel(0, testFile("test_panel.ui").c_str(), TEST_PANEL);
    ASSERT_GT(second, 0);
    EXPECT_NE(second, panel);
    EXPECT_EQ(SetCtrlVal(second, FIELD, 4.5), 0);
    double value = 0;
    GetCtrlVal(panel, FIELD, &value);
    EXPECT_EQ(value, 1.0);
    DiscardPanel(second);
}

TEST(PanelLoading, BareFileNameIsLookedUpBesideTheExecutable) {
    // The build copies test_panel.ui next to the test program.
    const int panel = LoadPanel(0, "test_panel.ui", TEST_PANEL);
    EXPECT_GT(panel, 0);
    DiscardPanel(panel);
}

TEST(PanelLoading, DiscardDestroysTheWindowAndForgetsTheHandle) {
    const int panel = LoadPanel(0, testFile("test_panel.ui").c_str(), TEST_PANEL);
    ASSERT_GT(panel, 0);
    const QPointer<QWidget> window = panel_test::panelWidget(panel);
    const QPointer<QWidget> button = panel_test::controlWidget(panel, BUTTON);
    EXPECT_EQ(DiscardPanel(panel), 0);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(button.isNull());
    EXPECT_EQ(SetCtrlVal(panel, FIELD, 1.0), UI_ERROR_BAD_PANEL);
    EXPECT_LT(DiscardPanel(panel), 0);
    EXPECT_LT(DiscardPanel(0), 0); // no panel was loaded: nothing happens
    EXPECT_LT(DiscardPanel(UI_ERROR_PANEL_FILE), 0);
}

TEST(PanelLoading, EveryOperationOnADiscardedPanelIsRefusedAndWritesNothing) {
    const int panel = LoadPanel(0, testFile("test_panel.ui").c_str(), TEST_PANEL);
    ASSERT_GT(panel, 0);
    ASSERT_EQ(DiscardPanel(panel), 0);
    int place[4] = {-7, -7, -7, -7};
    EXPECT_EQ(GetPanelGeometry(panel, &place[0], &place[1], &place[2], &place[3]),
              UI_ERROR_BAD_PANEL);
    EXPECT_EQ(place[0] + place[1] + place[2] + place[3], -28);
    EXPECT_EQ(SetPanelGeometry(panel, 0, 0, 100, 100), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(DisplayPanel(panel), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(NewCtrl(panel, CTRL_SQUARE_COMMAND_BUTTON, "x", 0, 0), UI_ERROR_BAD_PANEL);
    double value = -7;
    EXPECT_EQ(GetCtrlVal(panel, FIELD, &value), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(value, -7);
    EXPECT_EQ(PlotPoint(panel, GRAPH, 1, 1, VAL_SOLID_SQUARE, VAL_RED), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(SetCtrlAttribute(panel, STOPPED_TIMER, ATTR_INTERVAL, 1.0), UI_ERROR_BAD_PANEL);
    EXPECT_EQ(DiscardPanel(panel), UI_ERROR_BAD_PANEL);
}

struct BadFile {
    const char *name;
    QByteArray replace; // empty: the good text unchanged
    QByteArray with;
    int resourceId;
    const char *expected; // part of the message
};

void PrintTo(const BadFile &file, std::ostream *out) {
    *out << file.name;
}

class RefusedPanelFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(RefusedPanelFile, LoadFailsWithOneLineNamingFileFaultAndPlace) {
    const BadFile &bad = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.ui"));
    QByteArray text = goodPanelText();
    if (bad.replace == "<truncate>") {
        text.truncate(text.size() / 2);
    } else if (bad.replace == "<empty>") {
        text.clear();
    } else if (!bad.replace.isEmpty()) {
        ASSERT_TRUE(text.contains(bad.replace)) << bad.replace.constData();
        text.replace(bad.replace, bad.with);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    ::testing::internal::CaptureStderr();
    const int result = LoadPanel(0, qPrintable(path), bad.resourceId);
    const std::string printed = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(result, UI_ERROR_PANEL_FILE);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_EQ(printed.rfind(path.toStdString() + ": ", 0), 0u) << printed;
    EXPECT_NE(printed.find(bad.expected), std::string::npos) << printed;
    EXPECT_NE(printed.find(" ("), std::string::npos) << printed;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedPanelFile,
    ::testing::Values(
        BadFile{"TruncatedXml", "<truncate>", "", TEST_PANEL, "malformed XML"},
        BadFile{"EmptyFile", "<empty>", "", TEST_PANEL, "malformed XML"},
        BadFile{"NotADesignerForm", "<ui version=\"4.0\">", "<form>", TEST_PANEL, "not <ui>"},
        BadFile{"UnknownControlKind", "class=\"QCheckBox\" name=\"onOff\"",
                "class=\"QSlider\" name=\"onOff\"", TEST_PANEL,
                "unknown control kind QSlider (line 94, widget 'onOff')"},
        BadFile{"DuplicateId", "<number>6</number>", "<number>4</number>", TEST_PANEL,
                "duplicate controlId 4"},
        BadFile{"IdNotANumber",
                "<number>7</number>\n   </property>\n   <property "
                "name=\"callbackName\"",
                "<string>seven</string>\n   </property>\n   <property name=\"callbackName\"",
                TEST_PANEL, "controlId 'seven' is not a positive integer"},
        BadFile{"MissingControlCallback", "testTimerCB", "noSuchTimerCallbackInProgram", TEST_PANEL,
                "callback 'noSuchTimerCallbackInProgram' is not in the program"},
        BadFile{"MissingPanelCallback", "testPanelCB", "noSuchPanelCallbackInProgram", TEST_PANEL,
                "panel callback 'noSuchPanelCallbackInProgram'"},
        BadFile{"CallbackOnDecoration", "<string>Decoration</string>",
                "<string>Decoration</string></property><property name=\"callbackName\" "
                "stdset=\"0\"><string>testControlCB</string>",
                TEST_PANEL, "callbackName on a widget without controlId"},
        BadFile{"WrongResourceId", "", "", 3, "no panel with resource ID 3"},
        BadFile{"PanelWithoutId", "name=\"panelId\"", "name=\"somethingElse\"", TEST_PANEL,
                "no integer panelId"},
        BadFile{"IdBeyondTheRange", "<number>6</number>", "<number>2147483647</number>", TEST_PANEL,
                "controlId 2147483647 is above the highest allowed, 65535"},
        // Only the program's own functions can be callbacks, not what its libraries define.
        BadFile{"ControlCallbackFromALibrary", "testTimerCB", "abort", TEST_PANEL,
                "callback 'abort' is not in the program (line 122, widget 'runningTimer')"},
        BadFile{"PanelCallbackFromALibrary", "testPanelCB", "exit", TEST_PANEL,
                "panel callback 'exit' is not in the program (line 4"},
        BadFile{"CallbackNotAPlainName", "testTimerCB", "_ZN5QFileD1Ev", TEST_PANEL,
                "callback '_ZN5QFileD1Ev' is not in the program"},
        BadFile{"TimerIntervalZero", "<double>0.500000000000000</double>", "<double>0</double>",
                TEST_PANEL, "timer interval '0' is not a positive number of seconds (line 31"},
        BadFile{"TimerIntervalNegative", "<double>0.500000000000000</double>",
                "<double>-1</double>", TEST_PANEL, "timer interval '-1' is not a positive"},
        BadFile{"TimerIntervalNaN", "<double>0.500000000000000</double>", "<double>nan</double>",
                TEST_PANEL, "timer interval 'nan' is not a positive"},
        BadFile{"TimerIntervalInfinite", "<double>0.500000000000000</double>",
                "<double>inf</double>", TEST_PANEL, "timer interval 'inf' is not a positive"},
        BadFile{"GraphLimitNaN", "<double>10.000000000000000</double>", "<double>nan</double>",
                TEST_PANEL, "graph limit yMax 'nan' is not a finite number (line 139"},
        BadFile{"GraphLimitsEqual", "<double>1.000000000000000</double>",
                "<double>-1.000000000000000</double>", TEST_PANEL,
                "graph limits xMin -1 and xMax -1 leave no range"}),
    [](const auto &info) { return std::string(info.param.name); });

// A panel file of `levels` nested widgets with a button innermost, its ID 2.
QByteArray nestedPanel(int levels) {
    QByteArray text = "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"top\">"
                      "<property name=\"panelId\"><number>1</number></property>\n";
    for (int i = 0; i < levels; ++i) {
        text += "<widget class=\"QWidget\" name=\"level" + QByteArray::number(i) + "\">\n";
    }
    text += "<widget class=\"QPushButton\" name=\"deepest\">"
            "<property name=\"controlId\"><number>2</number></property></widget>";
    for (int i = 0; i < levels; ++i) {
        text += "</widget>";
    }
    return text + "</widget></ui>";
}

std::pair<int, std::string> loadText(const QByteArray &text) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested.ui"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ::testing::internal::CaptureStderr();
    const int panel = LoadPanel(0, qPrintable(path), 1);
    return {panel, ::testing::internal::GetCapturedStderr()};
}

TEST(PanelLoading, NestingIsLimitedWellAboveRealPanels) {
    const auto [deepButReal, nothingPrinted] = loadText(nestedPanel(panel::maxFormDepth - 5));
    EXPECT_GT(deepButReal, 0) << nothingPrinted;
    EXPECT_NE(panel_test::controlWidget(deepButReal, 2), nullptr);
    DiscardPanel(deepButReal);

    // Refused before any widget is built: neither the scan nor the form loader recurses
    // into it.  The line is that of the first element too deep.
    const auto [refused, printed] = loadText(nestedPanel(100000));
    EXPECT_EQ(refused, UI_ERROR_PANEL_FILE);
    EXPECT_NE(printed.find("nested.ui: elements nest deeper than 100 levels (line 100, column"),
              std::string::npos)
        << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
}

TEST(PanelLoading, MissingFileIsRefusedWithThePathTried) {
    ::testing::internal::CaptureStderr();
    const int result = LoadPanel(0, "no-such-panel-file.ui", 1);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_LT(result, 0);
    EXPECT_EQ(printed.rfind("no-such-panel-file.ui: cannot open the panel file", 0), 0u) << printed;
    // The place is where the bare name was looked up: beside the executable.
    EXPECT_NE(printed.find("/no-such-panel-file.ui)"), std::string::npos) << printed;
}

TEST_F(PanelTest, StatusLineCountsErrorPrintsAndShowsTheLatest) {
    ErrorPrintf("Error = %i, %s\n", -1, "first");
    ErrorPrintf("Error = %i, %s\n", -2, "second fault");
    const QString text = panel_test::statusText(panel);
    EXPECT_TRUE(text.contains("second fault")) << text.toStdString();
    EXPECT_FALSE(text.contains("first")) << text.toStdString();
    // The count goes on across panels, so compare two successive counts.
    const int before = text.section(' ', 0, 0).toInt();
    ErrorPrintf("third\n");
    EXPECT_EQ(panel_test::statusText(panel).section(' ', 0, 0).toInt(), before + 1);
}

TEST_F(PanelTest, ErrorPrintFromAnotherThreadReachesTheStatusLineOnTheWindowsThread) {
    std::thread([] { ErrorPrintf("printed from a worker\n"); }).join();
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return panel_test::statusText(panel).contains("printed from a worker"); }));
}

TEST_F(PanelTest, StatusLineShowsTheFirstLineCutToTheWidthAndTheWholeTextAsTooltip) {
    QWidget *window = panel_test::panelWidget(panel);
    const auto *line = window->findChild<QLabel *>("panelStatusLine");
    ASSERT_TRUE(line);
    ErrorPrintf("Error = -200220, first line of the driver's text\n\nthird line\n");
    EXPECT_FALSE(line->text().contains('\n'));
    EXPECT_TRUE(line->text().endsWith("latest: Error = -200220, first line of the driver's text"))
        << line->text().toStdString();
    EXPECT_TRUE(line->toolTip().contains("third line"));
    EXPECT_EQ(line->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);

    window->setMinimumSize(0, 0); // panels open at their smallest size; this one must go narrower
    window->resize(180, window->height());
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
    window->resize(900, window->height());
    EXPECT_TRUE(line->text().endsWith("first line of the driver's text"));
}

TEST_F(PanelTest, StatusLineSitsBelowTheFilesContents) {
    QWidget *window = panel_test::panelWidget(panel);
    const auto *line = window->findChild<QLabel *>("panelStatusLine");
    ASSERT_TRUE(line);
    EXPECT_GE(line->y(), 420); // the file's height
    EXPECT_EQ(line->geometry().bottom(), window->height() - 1);
}

} // namespace
