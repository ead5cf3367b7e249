// Writing on a disk that fills up, and to places that cannot take a file.  A file the
// window writes whole (the graph's picture, a setup) is written whole or left as it was,
// with a message naming the file and the cause; a recording stops naming the cause.
// A file size limit in a child process stands in for the full disk: with SIGXFSZ
// ignored, a write beyond it fails with EFBIG.
#include "app/app_harness.h"
#include "fifo_writer.h"

#include "window/panel_frame.h"
#include "window/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;

// The child process runs the test again from its start; both find the same folder
// through the parent's process ID, which the child inherits in the environment.
class FolderOfParent {
  public:
    FolderOfParent() {
        constexpr const char *variable = "ZELBRIN_TEST_PARENT";
        if (!std::getenv(variable)) {
            setenv(variable, std::to_string(getpid()).c_str(), 1);
        }
        folder_ = std::string(P_tmpdir) + "/zelbrin_full_disk." + std::getenv(variable);
        std::filesystem::create_directories(folder_);
    }
    ~FolderOfParent() {
        if (std::to_string(getpid()) == std::getenv("ZELBRIN_TEST_PARENT")) {
            std::filesystem::remove_all(folder_);
        }
    }
    FolderOfParent(const FolderOfParent &) = delete;
    FolderOfParent &operator=(const FolderOfParent &) = delete;

    std::string path(const std::string &name) const { return folder_ + "/" + name; }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto &entry : std::filesystem::directory_iterator(folder_)) {
            found.push_back(entry.path().filename().string());
        }
        return found;
    }

  private:
    std::string folder_;
};

std::string contentOf(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs in the child: the window on files that cannot grow beyond limit bytes, one user
// action on it, and its message line on the error output for the parent to match.  The
// simulated board's journal, which would hit the limit too, is not kept.
[[noreturn]] void onAFullDisk(rlim_t limit, const std::string &file, void (*action)()) {
    unsetenv("ORVEX_SIM_JOURNAL");
    signal(SIGXFSZ, SIG_IGN);
    rlimit limits{};
    getrlimit(RLIMIT_FSIZE, &limits);
    const rlim_t unlimited = limits.rlim_cur;
    limits.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &limits);
    resetStand();
    prepareBoard();
    if (!openWindow(testArgv())) {
        std::exit(2);
    }
    user::tickRefresh();
    user::tickSampling();
    user::willChooseFile(file);
    action();
    // The error output goes to a file, which the limit would cut short.
    limits.rlim_cur = unlimited;
    setrlimit(RLIMIT_FSIZE, &limits);
    std::fprintf(stderr, "message: %s\n", user::text(PANEL_MESSAGE).c_str());
    std::exit(0);
}

const std::string fileTooLarge = std::strerror(EFBIG);

TEST(FullDiskDeathTest, AGraphExportSaysItFailedAndLeavesTheEarlierPictureAsItWas) {
    const FolderOfParent folder;
    const std::string file = folder.path("graph.png");
    std::ofstream(file) << "the earlier picture";
    EXPECT_EXIT(onAFullDisk(4096, file, [] { user::click(PANEL_EXPORT_GRAPH); }),
                ::testing::ExitedWithCode(0), "message: Graph not saved: " + file + ": ");
    EXPECT_TRUE(contentOf(file) == "the earlier picture") << "the earlier picture was replaced";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"graph.png"}) << "nothing half written";
}

TEST(FullDiskDeathTest, ASetupSaveNamesTheFileAndTheCauseAndLeavesTheEarlierSetup) {
    const FolderOfParent folder;
    const std::string file = folder.path("stand.ini");
    std::ofstream(file) << "the earlier setup";
    EXPECT_EXIT(onAFullDisk(100, file, [] { user::click(PANEL_SAVE_SETUP); }),
                ::testing::ExitedWithCode(0),
                "message: Setup not saved: " + file + ": " + fileTooLarge + "\\.");
    EXPECT_EQ(contentOf(file), "the earlier setup");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"stand.ini"}) << "nothing half written";
}

TEST(FullDiskDeathTest, ARecordingStopsNamingTheCause) {
    const FolderOfParent folder;
    const std::string file = folder.path("run.csv");
    EXPECT_EXIT(onAFullDisk(4096, file,
                            [] {
                                user::click(PANEL_RECORD);
                                for (int tick = 0; tick < 200; ++tick) {
                                    user::tickSampling();
                                }
                            }),
                ::testing::ExitedWithCode(0),
                "message: Recording stopped: " + file + ": " + fileTooLarge +
                    "\\. The [0-9]+ rows written before are kept\\.");
}

using UnwritablePlace = AppOnStand;

TEST_F(UnwritablePlace, WhatIsNoRegularFileIsNotWrittenOver) {
    const ScratchFolder folder;
    const std::string fifo = makeFifo(folder.path("stand.ini"));
    const WriterForWaitingReaders writer(fifo);
    user::willChooseFile(fifo);
    user::click(PANEL_SAVE_SETUP);
    EXPECT_EQ(user::text(PANEL_MESSAGE),
              "Setup not saved: " + fifo + ": it is not a regular file.");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    user::willChooseFile(folder.path(""));
    user::click(PANEL_EXPORT_GRAPH);
    EXPECT_THAT(user::text(PANEL_MESSAGE), HasSubstr(": it is a folder."));
}

TEST_F(UnwritablePlace, AMissingFolderIsNamedAsTheCause) {
    const ScratchFolder folder;
    const std::string file = folder.path("no/such/folder/graph.png");
    user::willChooseFile(file);
    user::click(PANEL_EXPORT_GRAPH);
    EXPECT_THAT(user::text(PANEL_MESSAGE),
                HasSubstr("Graph not saved: " + file + ": " + std::strerror(ENOENT)));
}

} // namespace
} // namespace zelbrin
