// HDF5 recordings of the window, on the simulated board in virtual time, read back
// through HDF5 as any reader would: the CSV row's values per tick, what the recording was
// made with in the attributes, and places that cannot take the file.
#include "app/app_harness.h"
#include "recording/recording_reader.h"

#include "window/panel_frame.h"
#include "window/startup.h"
#include <orvex.h>
#include <orvex/simboard_control.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using Hdf5Recording = AppOnStand;

enum Column { TIME_COLUMN, AI2_COLUMN, AI3_COLUMN, X_COLUMN, Y_COLUMN, PORT0_COLUMN, PORT1_COLUMN };

TEST_F(Hdf5Recording, EachTickHoldsTheCsvRowsValuesWithAFailedReadAsNotANumber) {
    const ScratchFolder folder;
    const std::string file = folder.path("run.h5");
    ASSERT_EQ(simboard_holdJoystick(3.75, 1.25), 0);
    user::setSwitch(PANEL_SWAP, true);
    user::tickRefresh();
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    EXPECT_EQ(user::intValue(PANEL_RECORD), 1);
    for (int tick = 0; tick < 5; ++tick) {
        user::tickSampling();
    }
    const double ai2 = user::doubleValue(PANEL_AI2);
    const double ai3 = user::doubleValue(PANEL_AI3);
    failNthCall("DAQmxReadAnalogF64", 1, -200279);
    user::tickSampling();
    user::click(PANEL_RECORD);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Recorded 6 rows to " + file));

    const ReadRecording read = readRecording(file);
    ASSERT_EQ(read.rows, 6);
    ASSERT_EQ(read.columns, 7);
    const char *names[] = {"time", "ai2", "ai3", "x", "y", "port0", "port1"};
    for (int k = 0; k < read.columns; ++k) {
        EXPECT_EQ(read.channels[k].texts.at("name"), names[k]);
    }
    double lastTime = 0.0;
    for (int row = 0; row < 5; ++row) {
        EXPECT_GE(read.at(row, TIME_COLUMN), lastTime);
        lastTime = read.at(row, TIME_COLUMN);
        EXPECT_DOUBLE_EQ(read.at(row, AI2_COLUMN), ai2);
        EXPECT_DOUBLE_EQ(read.at(row, AI3_COLUMN), ai3);
        EXPECT_NEAR(read.at(row, X_COLUMN), -0.5, 1e-3) << "X is AI3 at 1.25 V";
        EXPECT_NEAR(read.at(row, Y_COLUMN), 0.5, 1e-3);
        EXPECT_EQ(read.at(row, PORT0_COLUMN), 0.0);
        EXPECT_EQ(read.at(row, PORT1_COLUMN), 0xF0) << "the stand's switches hold lines 4 to 7";
    }
    EXPECT_TRUE(std::isnan(read.at(5, AI2_COLUMN)));
    EXPECT_TRUE(std::isnan(read.at(5, Y_COLUMN))) << "no calibrated Y without AI2";
    EXPECT_FALSE(std::isnan(read.at(5, AI3_COLUMN)));
    EXPECT_EQ(read.events.back().kind, "stop");
}

TEST_F(Hdf5Recording, TheAttributesCarryTheCalibrationIntervalsAndWhatRecorded) {
    const ScratchFolder folder;
    const std::string file = folder.path("described.hdf5");
    user::setSwitch(PANEL_SWAP, true);
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    user::tickSampling();
    user::click(PANEL_RECORD);

    const ReadRecording read = readRecording(file);
    EXPECT_EQ(read.root.texts.at("program"), "zelbrin");
    EXPECT_EQ(read.root.texts.at("program_version"), ZELBRIN_VERSION);
    EXPECT_EQ(read.root.texts.at("library_version"), orvex_version());
    EXPECT_EQ(read.root.texts.at("driver"), std::getenv("ORVEX_DRIVER"));
    EXPECT_EQ(read.root.numbers.at("slot"), 2);
    EXPECT_EQ(read.root.texts.at("sample_format"), "float64");
    EXPECT_DOUBLE_EQ(read.root.numbers.at("sample_interval"), 0.05);
    EXPECT_DOUBLE_EQ(read.root.numbers.at("refresh_interval"), 0.1);
    EXPECT_EQ(read.root.texts.at("x_input"), "ai3");
    EXPECT_EQ(read.root.texts.at("y_input"), "ai2");
    const std::map<std::string, double> panelCalibration = {
        {"volts_at_minus_one", 0.0}, {"volts_at_zero", 2.5}, {"volts_at_plus_one", 5.0}};
    EXPECT_EQ(read.calibrations[X_COLUMN], panelCalibration);
    EXPECT_EQ(read.calibrations[Y_COLUMN], panelCalibration);
    EXPECT_TRUE(read.calibrations[AI2_COLUMN].empty());
    EXPECT_EQ(read.channels[AI3_COLUMN].texts.at("terminal"), "RSE");
    EXPECT_EQ(read.channels[AI3_COLUMN].numbers.at("range"), 10.0);
    EXPECT_EQ(read.channels[TIME_COLUMN].texts.at("units"), "s");
}

TEST_F(Hdf5Recording, AnExistingFileIsReplacedAsACsvFileWouldBe) {
    const ScratchFolder folder;
    const std::string file = folder.path("again.h5");
    for (int run = 0; run < 2; ++run) {
        user::willChooseFile(file);
        user::click(PANEL_RECORD);
        for (int tick = 0; tick <= run; ++tick) {
            user::tickSampling();
        }
        user::click(PANEL_RECORD);
    }
    EXPECT_EQ(readRecording(file).rows, 2);
}

TEST_F(Hdf5Recording, APlaceThatCannotTakeTheFileGivesAMessageAndLeavesRecordOff) {
    const ScratchFolder folder;
    for (const std::string &path :
         {std::string("/proc/zelbrin-recording.h5"), folder.path("no/such/folder/run.h5")}) {
        user::willChooseFile(path);
        user::click(PANEL_RECORD);
        user::tickSampling();
        EXPECT_EQ(user::intValue(PANEL_RECORD), 0);
        EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Cannot record to " + path + ": "));
    }
}

TEST(Hdf5RecordOption, RecordsFromStartUpAndEndsTheFileCleanlyOnSigterm) {
    const ScratchFolder folder;
    const std::string file = folder.path("stand.h5");
    EXPECT_EQ(runProgramUntil({"--record", file}, 400, [] { raise(SIGTERM); }), 0);
    const ReadRecording read = readRecording(file);
    EXPECT_GE(read.rows, 1);
    ASSERT_FALSE(read.events.empty());
    EXPECT_EQ(read.events.back().kind, "stop");
    EXPECT_EQ(read.events.back().sampleIndex, read.rows);
}

// Runs in a child process: the file size limit stands in for a full disk, the journal,
// which would hit it too, is not kept.  Ticks until the recording stops and puts the
// message on the error output.
[[noreturn]] void recordUntilTheDiskIsFull(const std::string &file) {
    unsetenv("ORVEX_SIM_JOURNAL");
    signal(SIGXFSZ, SIG_IGN);
    resetStand();
    prepareBoard();
    if (!openWindow(testArgv())) {
        std::exit(2);
    }
    user::tickRefresh();
    // The recording library takes room ahead of its writes, up to a megabyte and more.
    const rlimit limit{1536 * 1024, 1536 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    for (int tick = 0; tick < 20000 && user::intValue(PANEL_RECORD) == 1; ++tick) {
        user::tickSampling();
    }
    std::fprintf(stderr, "message: %s\n", user::text(PANEL_MESSAGE).c_str());
    std::exit(0);
}

TEST(Hdf5RecordingDeathTest, AFullDiskStopsTheRecordingWithTheCauseAndAFileThatOpens) {
    // The child runs this test again from its start: it finds the file's name in the
    // environment it inherits.
    constexpr const char *namedVariable = "ZELBRIN_TEST_FILLING_H5";
    if (!std::getenv(namedVariable)) {
        const std::string name =
            std::string(P_tmpdir) + "/zelbrin_filling." + std::to_string(getpid()) + ".h5";
        setenv(namedVariable, name.c_str(), 1);
    }
    const std::string file = std::getenv(namedVariable);
    EXPECT_EXIT(recordUntilTheDiskIsFull(file), ::testing::ExitedWithCode(0),
                "message: Recording stopped: " + file +
                    ": cannot .*File too large\\. The [0-9]+ "
                    "rows written before are kept\\.");
    const ReadRecording read = readRecording(file);
    EXPECT_GT(read.rows, 10);
    for (std::int64_t row = 0; row < read.rows; ++row) {
        ASSERT_EQ(read.at(row, PORT1_COLUMN), 0xF0) << "row " << row << " is whole";
    }
    std::remove(file.c_str());
    unsetenv(namedVariable);
}

} // namespace
} // namespace zelbrin
