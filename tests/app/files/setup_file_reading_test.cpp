// A setup file is read only when it can be one: a regular file of at most 1 MiB.  A FIFO
// would keep the window waiting for a writer, and a huge file would be read whole into
// memory; both are refused with a message that names the file, before anything is read.
#include "app/app_harness.h"
#include "fifo_writer.h"

#include "support/panel_test_access.h"
#include "window/panel_frame.h"
#include "window/startup.h"

#include <QTimer>
#include <QWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using SetupFileReading = AppOnStand;

constexpr std::uintmax_t setupFileLimit = 1024 * 1024;

std::string fifoIn(const ScratchFolder &folder) {
    return makeFifo(folder.path("stand.ini"));
}

struct NotASetupFile {
    const char *name;
    std::string (*make)(const ScratchFolder &);
    const char *why;
};

void PrintTo(const NotASetupFile &n, std::ostream *out) {
    *out << n.name;
}

class NotASetupFileChosen : public SetupFileReading,
                            public ::testing::WithParamInterface<NotASetupFile> {};

TEST_P(NotASetupFileChosen, IsRefusedNamingTheFileAndWhyAndTheWindowKeepsWhatItShowed) {
    const ScratchFolder folder;
    const std::string path = GetParam().make(folder);
    std::optional<WriterForWaitingReaders> writer;
    if (std::filesystem::is_fifo(path)) {
        writer.emplace(path);
    }
    user::choose(PANEL_PLOT_MODE, 2);
    CapturedErrors errors;
    user::willChooseFile(path);
    user::click(PANEL_LOAD_SETUP);
    const std::string message = user::text(PANEL_MESSAGE);
    EXPECT_THAT(message, HasSubstr("Setup " + path + " refused: "));
    EXPECT_THAT(message, HasSubstr(GetParam().why));
    EXPECT_THAT(errors.text(), HasSubstr(message)) << "also on the error output";
    EXPECT_EQ(user::intValue(PANEL_PLOT_MODE), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NotASetupFileChosen,
    ::testing::Values(NotASetupFile{"Fifo", fifoIn, "it is not a regular file"},
                      NotASetupFile{"Folder",
                                    [](const ScratchFolder &f) {
                                        std::filesystem::create_directory(f.path("setups.ini"));
                                        return f.path("setups.ini");
                                    },
                                    "it is a folder"},
                      NotASetupFile{"OneByteOverTheBound",
                                    [](const ScratchFolder &f) {
                                        const std::string path = f.path("recording.ini");
                                        std::ofstream{path};
                                        std::filesystem::resize_file(path, setupFileLimit + 1);
                                        return path;
                                    },
                                    "it is larger than 1 MiB"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SetupFileReading, AFifoOnTheCommandLineIsRefusedAndTheWindowOpens) {
    const ScratchFolder folder;
    const std::string fifo = fifoIn(folder);
    const WriterForWaitingReaders writer(fifo);
    closeDown();
    std::string option = "--setup";
    char *argv[] = {testArgv()[0], option.data(), const_cast<char *>(fifo.c_str()), nullptr};
    std::string shown;
    QTimer::singleShot(100, [&shown] {
        shown = user::text(PANEL_MESSAGE);
        panel_test::panelWidget(panelHandle)->close();
    });
    EXPECT_EQ(zelbrinMain(3, argv), 0);
    EXPECT_THAT(shown, HasSubstr("Setup " + fifo + " refused: it is not a regular file"));
    prepareBoard();
    ASSERT_TRUE(openWindow(testArgv())); // for TearDown
}

TEST_F(SetupFileReading, AFileAtTheBoundIsReadAsAnyOther) {
    const ScratchFolder folder;
    const std::string path = folder.path("padded.ini");
    user::willChooseFile(path);
    user::click(PANEL_SAVE_SETUP);
    // Comment lines pad it to the bound exactly.
    const std::uintmax_t saved = std::filesystem::file_size(path);
    std::string padding = ";" + std::string(setupFileLimit - saved - 2, '-') + "\n";
    std::ofstream(path, std::ios::app) << padding;
    ASSERT_EQ(std::filesystem::file_size(path), setupFileLimit);
    user::choose(PANEL_PLOT_MODE, 2);
    user::click(PANEL_LOAD_SETUP);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr("Setup loaded from " + path));
    EXPECT_EQ(user::intValue(PANEL_PLOT_MODE), 0);
}

} // namespace
} // namespace zelbrin
