#include "app_harness.h"

#include "callbacks/digital_panel.h"
#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/panel_timer.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include "window/startup.h"
#include <orvex/simboard_control.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <unistd.h>

// The harness is test code, not the application's: it names what it uses of it.
using zelbrin::closeDown;
using zelbrin::mode;
using zelbrin::openWindow;
using zelbrin::PANEL_AI_TIMER;
using zelbrin::PANEL_ALL0;
using zelbrin::PANEL_CALIBRATE;
using zelbrin::PANEL_GRAPH;
using zelbrin::PANEL_GUI_TIMER;
using zelbrin::panelHandle;
using zelbrin::prepareBoard;

namespace {

std::string readFile(const char *path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A journal line of a call that succeeded, and the value between `before` and the next
// `after` in it, if the line starts with `call`.
std::optional<std::string_view> succeededWith(std::string_view line, std::string_view call,
                                              std::string_view before, std::string_view after) {
    if (!line.starts_with(call) || !line.ends_with(") = 0")) {
        return std::nullopt;
    }
    const std::size_t start = line.find(before);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t from = start + before.size();
    const std::size_t end = line.find(after, from);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(from, end - from);
}

std::optional<long> number(std::optional<std::string_view> text) {
    long value = 0;
    if (!text ||
        std::from_chars(text->data(), text->data() + text->size(), value).ec != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

template <class Widget> Widget *control(int id) {
    auto *widget = qobject_cast<Widget *>(panel_test::controlWidget(panelHandle, id));
    EXPECT_NE(widget, nullptr) << "control " << id << " is missing or of another kind";
    return widget;
}

} // namespace

DriverJournal::DriverJournal() {
    const char *path = std::getenv("ORVEX_SIM_JOURNAL");
    EXPECT_NE(path, nullptr) << "the simulated board keeps no journal";
    path_ = path ? path : "";
}

std::vector<std::string> DriverJournal::lines() const {
    std::vector<std::string> result;
    std::ifstream file(path_);
    for (std::string line; std::getline(file, line);) {
        result.push_back(line);
    }
    return result;
}

int DriverJournal::tasksLeftOpen() const {
    int open = 0;
    for (const std::string &line : lines()) {
        // A handle is cleared once at most: clearing it again fails.
        open += succeededWith(line, "DAQmxCreateTask(", "taskHandle=", ")") ? 1 : 0;
        open -= succeededWith(line, "DAQmxClearTask(", "task=", ")") ? 1 : 0;
    }
    return open;
}

std::vector<int> DriverJournal::digitalWrites(const std::string &taskName) const {
    std::optional<long> taskHandle;
    std::vector<int> values;
    const std::string created = "DAQmxCreateTask(taskName=\"" + taskName + "\",";
    for (const std::string &line : lines()) {
        if (auto handle = number(succeededWith(line, created, "taskHandle=", ")"))) {
            taskHandle = handle;
        } else if (taskHandle && number(succeededWith(line, "DAQmxWriteDigitalU8(",
                                                      "task=", ",")) == taskHandle) {
            if (auto value =
                    number(succeededWith(line, "DAQmxWriteDigitalU8(", "writeArray=[", "]"))) {
                values.push_back(static_cast<int>(*value));
            }
        }
    }
    return values;
}

std::set<std::string> liveTasks() {
    std::vector<SimboardTask> tasks(simboard_liveTasks(nullptr, 0));
    const uint32_t copied = simboard_liveTasks(tasks.data(), static_cast<uint32_t>(tasks.size()));
    tasks.resize(std::min<std::size_t>(copied, tasks.size()));
    std::set<std::string> names;
    for (const SimboardTask &task : tasks) {
        names.insert(task.name);
    }
    return names;
}

void resetStand() {
    ASSERT_EQ(simboard_reset(), 0);
    ASSERT_EQ(simboard_applyBench(readFile(ZELBRIN_TEST_STAND).c_str()), 0);
}

void failNthCall(const char *entryPoint, int n, int status) {
    const std::string fault = std::string(R"({"faults": [{"entryPoint": ")") + entryPoint +
                              R"(", "call": )" + std::to_string(n) + R"(, "status": )" +
                              std::to_string(status) + "}]}";
    ASSERT_EQ(simboard_applyBench(fault.c_str()), 0) << fault;
}

char **testArgv() {
    static char name[] = "zelbrin";
    static char *argv[] = {name, nullptr};
    return argv;
}

void forgetRememberedSettings() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Zelbrin", "zelbrin").clear();
}

int runProgramUntil(const std::vector<std::string> &arguments, int milliseconds, void (*close)()) {
    forgetRememberedSettings();
    resetStand();
    std::vector<std::string> texts = {"zelbrin"};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    // The application object must exist before the timer that closes is set.
    EXPECT_NE(InitCVIRTEEx(nullptr, testArgv(), nullptr), 0);
    QTimer::singleShot(milliseconds, close);
    return zelbrin::zelbrinMain(static_cast<int>(texts.size()), argv.data());
}

void closeTheWindow() {
    panel_test::panelWidget(panelHandle)->close();
}

void AppOnStand::SetUp() {
    forgetRememberedSettings();
    resetStand();
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));
    for (int timer : {PANEL_AI_TIMER, PANEL_GUI_TIMER}) {
        if (auto *panelTimer = control<panel::PanelTimer>(timer)) {
            panelTimer->setRunning(false);
        }
    }
    // A test run in the same process before this one may have left its calibration and
    // port values and direction behind: take the panel file's calibration, all lines 0
    // and the direction the ports start with again.
    user::click(PANEL_CALIBRATE);
    user::click(PANEL_ALL0);
    mode = 0;
}

void AppOnStand::TearDown() {
    panel_test::answerFilePopupsWith(std::nullopt);
    closeDown();
}

namespace user {

void tickRefresh() {
    ASSERT_TRUE(panel_test::fireTimerTick(panelHandle, PANEL_GUI_TIMER));
}

void tickSampling() {
    ASSERT_TRUE(panel_test::fireTimerTick(panelHandle, PANEL_AI_TIMER));
}

void click(int id) {
    if (auto *button = control<QAbstractButton>(id)) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

void choose(int selector, int item) {
    auto *box = control<QComboBox>(selector);
    ASSERT_NE(box, nullptr);
    ASSERT_LT(item, box->count());
    while (box->currentIndex() != item) {
        QTest::keyClick(box, box->currentIndex() < item ? Qt::Key_Down : Qt::Key_Up);
    }
}

void enter(int field, double value) {
    auto *box = control<QDoubleSpinBox>(field);
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClicks(box, QString::number(value, 'f', box->decimals()));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_DOUBLE_EQ(box->value(), value) << "the field refused the value";
}

void setSwitch(int id, bool on) {
    auto *box = control<QAbstractButton>(id);
    ASSERT_NE(box, nullptr);
    if (box->isChecked() != on) {
        box->click();
    }
}

int intValue(int id) {
    int value = -1;
    EXPECT_GE(GetCtrlVal(panelHandle, id, &value), 0);
    return value;
}

double doubleValue(int id) {
    double value = -1.0;
    EXPECT_GE(GetCtrlVal(panelHandle, id, &value), 0);
    return value;
}

const panel::XYGraph &graph() {
    return *panel_test::graphOf(panelHandle, PANEL_GRAPH);
}

std::vector<panel::GraphPrimitive> plotted() {
    const panel::GraphStore &store = graph().store();
    std::vector<panel::GraphPrimitive> primitives;
    for (std::size_t i = 0; i < store.size(); ++i) {
        primitives.push_back(store.at(i));
    }
    return primitives;
}

std::string text(int id) {
    auto *label = control<QLabel>(id);
    return label ? label->text().toStdString() : std::string();
}

void willChooseFile(const std::string &path) {
    panel_test::answerFilePopupsWith(QString::fromStdString(path));
}

} // namespace user

ScratchFolder::ScratchFolder() {
    std::string pattern = std::string(P_tmpdir) + "/zelbrin_app_files.XXXXXX";
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::remove_all(folder_);
}

CapturedErrors::CapturedErrors() {
    std::fflush(stderr);
    ::testing::internal::CaptureStderr();
}

CapturedErrors::~CapturedErrors() {
    text();
}

std::string CapturedErrors::text() {
    if (!taken_) {
        std::fflush(stderr);
        text_ = ::testing::internal::GetCapturedStderr();
        taken_ = true;
    }
    return text_;
}

std::vector<std::string> CapturedErrors::errorLines() {
    std::vector<std::string> lines;
    std::istringstream in(text());
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Error = ", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}
