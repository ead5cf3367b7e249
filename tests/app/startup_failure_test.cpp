// The built program started where its window cannot open, and with --help and --version:
// one line and status 1 for every failure, the board released, and no window and no
// board call for the two questions.
#include "app_harness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct Outcome {
    std::string output; // standard output and error
    int status;
    std::vector<std::string> journal; // the simulated board's calls
    int tasksLeftOpen = 0;
};

// Runs a copy of the program in a folder of its own (without its panel file unless asked)
// with the given environment settings before it, on the simulated board.
class ProgramRun : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zelbrin_start." + std::to_string(getpid()) + "." +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        fs::copy_file(ZELBRIN_EXECUTABLE, dir / "zelbrin", fs::copy_options::overwrite_existing);
        // Without one Qt warns on its way up, which is not the program's line.
        fs::create_directories(dir / "runtime");
        fs::permissions(dir / "runtime", fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(dir); }

    void withPanelFile() {
        fs::copy_file(fs::path(ZELBRIN_EXECUTABLE).parent_path() / "Zelbrin.uir",
                      dir / "Zelbrin.uir");
    }

    Outcome run(const std::string &environment, const std::string &arguments = "") {
        const fs::path journalFile = dir / "journal";
        const std::string command =
            "env -u DISPLAY -u QT_QPA_PLATFORM ORVEX_DRIVER=" ZELBRIN_DRIVER " ORVEX_SIM_JOURNAL=" +
            journalFile.string() + " XDG_RUNTIME_DIR=" + (dir / "runtime").string() + " " +
            environment + " " + (dir / "zelbrin").string() + " " + arguments + " 2>&1";
        Outcome result;
        FILE *pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr);
        char buffer[512];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe)) {
            result.output += buffer;
        }
        const int status = pipe ? pclose(pipe) : -1;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        const DriverJournal journal(journalFile.string());
        result.journal = journal.lines();
        result.tasksLeftOpen = journal.tasksLeftOpen();
        return result;
    }

    static long lineCount(const std::string &text) {
        return std::count(text.begin(), text.end(), '\n');
    }

    fs::path dir;
};

TEST_F(ProgramRun, WithoutADisplayOneLineSaysSoAndTheBoardIsReleased) {
    withPanelFile();
    const Outcome unset = run("");
    EXPECT_EQ(unset.status, 1) << unset.output;
    EXPECT_EQ(unset.output, "Zelbrin: the window cannot open: the user-interface runtime did "
                            "not start: no display: DISPLAY is not set\n");
    EXPECT_THAT(unset.journal, ::testing::Not(IsEmpty())) << "the board was prepared first";
    EXPECT_EQ(unset.tasksLeftOpen, 0);

    const Outcome unreachable = run("DISPLAY=:60999");
    EXPECT_EQ(unreachable.status, 1) << unreachable.output;
    EXPECT_EQ(lineCount(unreachable.output), 1) << unreachable.output;
    EXPECT_THAT(unreachable.output, HasSubstr("cannot connect to the X display \":60999\""));
    EXPECT_EQ(unreachable.tasksLeftOpen, 0);
}

TEST_F(ProgramRun, PlatformThatFailsInsideQtEndsWithOneLineAndStatusOne) {
    withPanelFile();
    const Outcome result = run("QT_QPA_PLATFORM=nosuchplatform");
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_EQ(lineCount(result.output), 1) << result.output;
    EXPECT_THAT(result.output, StartsWith("zelbrin: the user-interface runtime cannot start: "));
    EXPECT_THAT(result.output, HasSubstr("nosuchplatform"));
}

TEST_F(ProgramRun, WithoutItsPanelFileOneLineNamesTheFileAndTheBoardIsReleased) {
    const Outcome result = run("QT_QPA_PLATFORM=offscreen");
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_EQ(lineCount(result.output), 1) << result.output;
    EXPECT_THAT(result.output, StartsWith("Zelbrin.uir: cannot open the panel file: "));
    EXPECT_THAT(result.output, HasSubstr((dir / "Zelbrin.uir").string()));
    EXPECT_EQ(result.tasksLeftOpen, 0);
}

TEST_F(ProgramRun, HelpAndVersionAnswerWithoutWindowOrBoard) {
    const Outcome help = run("", "--help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_THAT(help.output, StartsWith("Usage: zelbrin [--help] [--version]"));
    EXPECT_THAT(help.journal, IsEmpty());

    const Outcome version = run("", "--version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output, "zelbrin " ZELBRIN_VERSION "\n");
    EXPECT_THAT(version.journal, IsEmpty());
}

} // namespace
