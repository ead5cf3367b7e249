// Recording to CSV and exporting the graph, on the simulated board in virtual time.
#include "app/app_harness.h"

#include "uiruntime/userint.h"
#include "widgets/xygraph.h"
#include "window/panel_frame.h"
#include "window/startup.h"
#include <orvex/simboard_control.h>

#include <QImage>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Recording = AppOnStand;

std::vector<std::string> linesOf(const std::string &path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fields(const std::string &row) {
    std::vector<std::string> result;
    std::stringstream in(row);
    for (std::string field; std::getline(in, field, ',');) {
        result.push_back(field);
    }
    if (!row.empty() && row.back() == ',') {
        result.emplace_back();
    }
    return result;
}

// The data rows: after the comment lines and the column names.
std::vector<std::vector<std::string>> rowsOf(const std::vector<std::string> &lines) {
    std::vector<std::vector<std::string>> rows;
    bool columnsSeen = false;
    for (const std::string &line : lines) {
        if (line.starts_with("#")) {
            continue;
        }
        if (columnsSeen) {
            rows.push_back(fields(line));
        }
        columnsSeen = true;
    }
    return rows;
}

std::string shownAsInFile(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

TEST_F(Recording, AThousandTicksWithTheJoystickHeldGiveAThousandRowsThatMatchTheDisplays) {
    const ScratchFolder folder;
    const std::string file = folder.path("run.csv");
    ASSERT_EQ(simboard_holdJoystick(3.75, 1.25), 0);
    user::setSwitch(PANEL_SWAP, true);
    user::tickRefresh();
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    EXPECT_EQ(user::intValue(PANEL_RECORD), 1);
    for (int tick = 0; tick < 1000; ++tick) {
        user::tickSampling();
    }
    const std::string ai2 = shownAsInFile(user::doubleValue(PANEL_AI2));
    const std::string ai3 = shownAsInFile(user::doubleValue(PANEL_AI3));
    user::click(PANEL_RECORD);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Recorded 1000 rows to " + file));

    const auto lines = linesOf(file);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_THAT(lines[0], StartsWith("# Zelbrin recording, started 20"));
    EXPECT_THAT(lines[1], HasSubstr("X 0.0000, 2.5000, 5.0000 V"));
    EXPECT_THAT(lines[2], HasSubstr("sampling 0.050 s, refresh 0.100 s"));
    EXPECT_THAT(lines[3], HasSubstr(std::string("driver: ") + std::getenv("ORVEX_DRIVER")));
    EXPECT_THAT(lines[3], HasSubstr("board slot 2"));
    EXPECT_THAT(lines[4], HasSubstr("X is AI3, Y is AI2"));
    const auto rows = rowsOf(lines);
    ASSERT_EQ(rows.size(), 1000u);
    double lastTime = -1.0;
    for (const auto &row : rows) {
        ASSERT_EQ(row.size(), 7u);
        EXPECT_GE(std::stod(row[0]), lastTime);
        lastTime = std::stod(row[0]);
        EXPECT_EQ(row[1], ai2);
        EXPECT_EQ(row[2], ai3);
        EXPECT_NEAR(std::stod(row[3]), -0.5, 1e-3) << "X is AI3 at 1.25 V";
        EXPECT_NEAR(std::stod(row[4]), 0.5, 1e-3);
        EXPECT_EQ(row[5], "00000000");
        EXPECT_EQ(row[6], "11110000") << "the stand's switches hold port 1 lines 4 to 7 high";
    }
}

TEST_F(Recording, AValueWhoseReadFailedIsLeftEmpty) {
    const ScratchFolder folder;
    const std::string file = folder.path("gap.csv");
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    failNthCall("DAQmxReadAnalogF64", 1, -200279);
    user::tickSampling();
    user::click(PANEL_RECORD);
    const auto rows = rowsOf(linesOf(file));
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 7u);
    EXPECT_EQ(rows[0][1], "");
    EXPECT_EQ(rows[0][3], "") << "no calibrated X without AI2";
    EXPECT_NE(rows[0][2], "");
}

struct Unwritable {
    const char *name;
    std::string (*path)(const ScratchFolder &);
};

void PrintTo(const Unwritable &u, std::ostream *out) {
    *out << u.name;
}

class UnwritablePlace : public Recording, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(UnwritablePlace, GivesAMessageAndLeavesRecordOff) {
    const ScratchFolder folder;
    const std::string path = GetParam().path(folder);
    user::willChooseFile(path);
    user::click(PANEL_RECORD);
    user::tickSampling();
    EXPECT_EQ(user::intValue(PANEL_RECORD), 0);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr(path));
}

INSTANTIATE_TEST_SUITE_P(
    Places, UnwritablePlace,
    ::testing::Values(Unwritable{"FullDisk",
                                 [](const ScratchFolder &) { return std::string("/dev/full"); }},
                      Unwritable{"NotAFolder",
                                 [](const ScratchFolder &f) {
                                     std::ofstream(f.path("plain")) << "x";
                                     return f.path("plain") + "/run.csv";
                                 }},
                      Unwritable{"ReadOnlyPlace",
                                 [](const ScratchFolder &) {
                                     return std::string("/proc/zelbrin-recording.csv");
                                 }}),
    [](const auto &info) { return std::string(info.param.name); });

// Runs in a child process: the file size limit stands in for a full disk.  The journal,
// which would hit it too, is not kept there.
[[noreturn]] void recordUntilTheDiskIsFull(const std::string &file) {
    unsetenv("ORVEX_SIM_JOURNAL");
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    resetStand();
    prepareBoard();
    if (!openWindow(testArgv())) {
        std::exit(2);
    }
    user::tickRefresh();
    user::willChooseFile(file);
    user::click(PANEL_RECORD);
    for (int tick = 0; tick < 200; ++tick) {
        user::tickSampling();
    }
    const bool stopped = user::intValue(PANEL_RECORD) == 0;
    const bool told = user::text(PANEL_MESSAGE).starts_with("Recording stopped");
    std::exit(stopped && told ? 0 : 3);
}

TEST(RecordingDeathTest, ADiskThatFillsUpStopsTheRecordingAndKeepsTheRowsWhole) {
    // The child runs this test again from its start: it finds the file's name in the
    // environment it inherits.
    constexpr const char *namedVariable = "ZELBRIN_TEST_FILLING_FILE";
    if (!std::getenv(namedVariable)) {
        const std::string name =
            std::string(P_tmpdir) + "/zelbrin_filling." + std::to_string(getpid()) + ".csv";
        setenv(namedVariable, name.c_str(), 1);
    }
    const std::string file = std::getenv(namedVariable);
    EXPECT_EXIT(recordUntilTheDiskIsFull(file), ::testing::ExitedWithCode(0), "");
    const auto lines = linesOf(file);
    const auto rows = rowsOf(lines);
    EXPECT_GT(rows.size(), 10u);
    for (const auto &row : rows) {
        EXPECT_EQ(row.size(), 7u);
        EXPECT_EQ(row[6].size(), 8u) << "the last row is whole";
    }
    std::remove(file.c_str());
    unsetenv(namedVariable);
}

TEST_F(Recording, ExportWritesTheGraphAsAPngOfItsSize) {
    const ScratchFolder folder;
    const std::string file = folder.path("graph.png");
    ASSERT_EQ(simboard_holdJoystick(4.0, 1.0), 0);
    user::tickSampling();
    user::willChooseFile(file);
    user::click(PANEL_EXPORT_GRAPH);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Graph saved to " + file));
    const QImage picture(QString::fromStdString(file), "PNG");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), user::graph().size());
    const QPoint red = user::graph().toPixel(4.0, 1.0);
    EXPECT_EQ(picture.pixelColor(red), QColor(Qt::red));

    user::willChooseFile(folder.path("no/such/folder/graph.png"));
    user::click(PANEL_EXPORT_GRAPH);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Graph not saved"));
}

} // namespace
} // namespace zelbrin
