// Remembered settings and setup files: what survives a restart, and what is refused.
#include "app/app_harness.h"

#include "callbacks/analog_monitor.h"
#include "logic/command_line.h"
#include "setup/setup_files.h"
#include "support/panel_test_access.h"
#include "uiruntime/userint.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include "window/startup.h"

#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using Settings = AppOnStand;

// A set-up unlike the panel file's in every remembered value.
void setEverythingBySomethingElse() {
    const std::pair<int, double> calibration[] = {{PANEL_X_MIN, 0.5},  {PANEL_X_MID, 2.0},
                                                  {PANEL_X_MAX, 4.5},  {PANEL_Y_MIN, 0.25},
                                                  {PANEL_Y_MID, 2.75}, {PANEL_Y_MAX, 4.75}};
    for (const auto &[field, volts] : calibration) {
        user::enter(field, volts);
    }
    user::click(PANEL_CALIBRATE);
    user::enter(PANEL_GUI_INTERVAL, 0.3);
    user::enter(PANEL_AI_INTERVAL, 0.2);
    user::choose(PANEL_PLOT_MODE, 1);
    user::setSwitch(PANEL_SHOW_RAW, false);
    user::setSwitch(PANEL_SWAP, true);
    user::click(PANEL_RANGE_10);
}

void expectSomethingElse() {
    EXPECT_DOUBLE_EQ(calX.min, 0.5);
    EXPECT_DOUBLE_EQ(calX.mid, 2.0);
    EXPECT_DOUBLE_EQ(calY.max, 4.75);
    EXPECT_DOUBLE_EQ(user::doubleValue(PANEL_Y_MID), 2.75);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_GUI_TIMER), 0.3);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_AI_TIMER), 0.2);
    EXPECT_DOUBLE_EQ(user::doubleValue(PANEL_AI_INTERVAL), 0.2);
    EXPECT_EQ(user::intValue(PANEL_PLOT_MODE), 1);
    EXPECT_EQ(user::intValue(PANEL_SHOW_RAW), 0);
    EXPECT_EQ(user::intValue(PANEL_SHOW_NORM), 1);
    EXPECT_EQ(user::intValue(PANEL_SWAP), 1);
    EXPECT_DOUBLE_EQ(user::graph().xMin(), -10.1);
    EXPECT_DOUBLE_EQ(user::graph().yMax(), 10.1);
    EXPECT_THAT(user::graph().xTitle().toStdString(), HasSubstr("AI3"));
}

void expectThePanelFilesValues() {
    EXPECT_DOUBLE_EQ(calX.min, 0.0);
    EXPECT_DOUBLE_EQ(calX.max, 5.0);
    EXPECT_DOUBLE_EQ(panel_test::timerInterval(panelHandle, PANEL_AI_TIMER), 0.05);
    EXPECT_EQ(user::intValue(PANEL_PLOT_MODE), 0);
    EXPECT_EQ(user::intValue(PANEL_SWAP), 0);
    EXPECT_DOUBLE_EQ(user::graph().xMin(), -1.1);
}

// As a new process would start: the calibration in effect is the program's first one.
void startAgain() {
    calX = calY = Calibration{0.0, 2.5, 5.0};
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv()));
}

void restart() {
    closeDown();
    startAgain();
}

void restartAsNewUser() {
    closeDown();
    forgetRememberedSettings();
    startAgain();
}

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Zelbrin", "zelbrin");
}

TEST_F(Settings, EveryRememberedValueAndTheWindowsSizeSurviveARestartButBoardStateDoesNot) {
    setEverythingBySomethingElse();
    user::choose(PANEL_MODE, 1);
    user::click(PANEL_ALL1);
    QWidget *window = panel_test::panelWidget(panelHandle);
    window->resize(window->size() + QSize(120, 80));
    const QSize grown = window->size();

    restart();
    expectSomethingElse();
    EXPECT_EQ(panel_test::panelWidget(panelHandle)->size(), grown);
    EXPECT_EQ(user::intValue(PANEL_MODE), 0) << "ports start as inputs, as always";
    EXPECT_THAT(liveTasks(), ::testing::Contains("port0R0"));
}

TEST_F(Settings, DamagedRememberedSettingsAreRefusedByKeyAndThePanelFilesValuesStay) {
    setEverythingBySomethingElse();
    closeDown();
    userSettings().setValue("intervals/sample", "fast");
    startAgain();
    const std::string message = user::text(PANEL_MESSAGE);
    EXPECT_THAT(message, HasSubstr(userSettings().fileName().toStdString()));
    EXPECT_THAT(message, HasSubstr("key 'intervals/sample'"));
    expectThePanelFilesValues();
}

TEST_F(Settings, ASavedSetupLoadsBackOnAnotherStartAndOnTheCommandLine) {
    const ScratchFolder folder;
    const std::string file = folder.path("stand 4.ini");
    setEverythingBySomethingElse();
    user::willChooseFile(file);
    user::click(PANEL_SAVE_SETUP);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Setup saved to " + file));

    restartAsNewUser();
    expectThePanelFilesValues();
    user::click(PANEL_LOAD_SETUP);
    expectSomethingElse();

    // zelbrin --setup FILE, started afresh and closed as a user would.
    closeDown();
    forgetRememberedSettings();
    calX = calY = Calibration{0.0, 2.5, 5.0};
    resetStand();
    std::string option = "--setup";
    char *argv[] = {testArgv()[0], option.data(), const_cast<char *>(file.c_str()), nullptr};
    QTimer::singleShot(100, [] {
        expectSomethingElse();
        panel_test::panelWidget(panelHandle)->close();
    });
    EXPECT_EQ(zelbrinMain(3, argv), 0);
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv())); // for TearDown
}

struct RefusedFile {
    const char *name;
    const char *text;
    const char *key; // named in the message
};

void PrintTo(const RefusedFile &r, std::ostream *out) {
    *out << r.name;
}

class RefusedSetup : public Settings, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedSetup, IsNamedWithItsKeyAndTheWindowKeepsWhatItShowed) {
    const RefusedFile &r = GetParam();
    const ScratchFolder folder;
    const std::string good = folder.path("good.ini");
    user::willChooseFile(good);
    user::click(PANEL_SAVE_SETUP);
    // The good file, with one line changed, or something else altogether.
    std::ifstream in(good);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = r.key;
    const std::size_t slash = key.find('/');
    if (slash != std::string::npos) {
        const std::size_t group = text.find("[" + key.substr(0, slash) + "]");
        const std::size_t at = text.find("\n" + key.substr(slash + 1) + "=", group);
        ASSERT_NE(at, std::string::npos) << key;
        text.replace(at + 1, text.find('\n', at + 1) - at - 1, r.text);
    } else {
        text = r.text;
    }
    const std::string bad = folder.path("bad.ini");
    std::ofstream(bad) << text;

    user::choose(PANEL_PLOT_MODE, 2);
    CapturedErrors errors;
    EXPECT_FALSE(loadSetupFile(panelHandle, bad.c_str()));
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr(bad));
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr(std::string("key '") + r.key + "'"));
    EXPECT_THAT(errors.text(), HasSubstr(bad)) << "also on the error output";
    EXPECT_EQ(user::intValue(PANEL_PLOT_MODE), 2);
    EXPECT_DOUBLE_EQ(calX.max, 5.0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedSetup,
    ::testing::Values(RefusedFile{"NotANumber", "xMax=five", "calibration/xMax"},
                      RefusedFile{"OutOfRange", "sample=0", "intervals/sample"},
                      RefusedFile{"NotAFlag", "swap=maybe", "plot/swap"},
                      RefusedFile{"AxisUpsideDown", "yMax=-5", "axes/yMax"},
                      RefusedFile{"Foreign", "[General]\nfoo=bar\n", "format"},
                      RefusedFile{"NewerFormat", "[General]\nformat=zelbrin-setup-9\n", "format"},
                      RefusedFile{"Garbage", "\x01\x02 not a settings file at all \xff", "format"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SetupArgument, IsTakenInEitherFormAndOnlyWithAFileName) {
    char name[] = "zelbrin", option[] = "--setup", file[] = "a.ini", joined[] = "--setup=b.ini",
         other[] = "--setupx=c";
    char *separate[] = {name, option, file, nullptr};
    char *together[] = {name, joined, nullptr};
    char *missing[] = {name, option, nullptr};
    char *unrelated[] = {name, other, nullptr};
    EXPECT_STREQ(setupFileArgument(3, separate), "a.ini");
    EXPECT_STREQ(setupFileArgument(2, together), "b.ini");
    EXPECT_EQ(setupFileArgument(2, missing), nullptr);
    EXPECT_EQ(setupFileArgument(2, unrelated), nullptr);
}

} // namespace
} // namespace zelbrin
