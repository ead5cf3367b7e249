// --record FILE: a recording from start-up without a dialog, for a stand that records
// unattended, ended with the window; the command line that asks for it; and which files
// are HDF5.
#include "app/app_harness.h"

#include "files/recording_file.h"
#include "logic/command_line.h"
#include "window/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace zelbrin {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(RecordArgument, IsTakenInEitherFormAndWithoutAFileIsAProblem) {
    char name[] = "zelbrin", option[] = "--record", file[] = "a.h5", joined[] = "--record=b.csv",
         empty[] = "--record=", setup[] = "--setup", setupFile[] = "c.ini";
    char *separate[] = {name, setup, setupFile, option, file, nullptr};
    char *together[] = {name, joined, nullptr};
    char *missing[] = {name, option, nullptr};
    char *emptyFile[] = {name, empty, nullptr};
    EXPECT_STREQ(recordFileArgument(5, separate), "a.h5");
    EXPECT_STREQ(setupFileArgument(5, separate), "c.ini");
    EXPECT_FALSE(readCommandLine(5, separate).problem);
    EXPECT_STREQ(recordFileArgument(2, together), "b.csv");
    EXPECT_FALSE(readCommandLine(2, together).problem);
    for (char **arguments : {missing, emptyFile}) {
        EXPECT_THAT(readCommandLine(2, arguments).problem.value_or(""),
                    HasSubstr("--record needs the FILE"))
            << arguments[1];
    }
}

TEST(RecordingFileName, IsHdf5ByItsExtensionInAnyCaseAndCsvOtherwise) {
    for (const char *name : {"run.h5", "/data/RUN.H5", "run.hdf5", "a.b/run.Hdf5"}) {
        EXPECT_TRUE(isHdf5FileName(name)) << name;
    }
    for (const char *name : {"run.csv", "run", "h5", "/data.h5/run", "run.h5.csv", "run.h55"}) {
        EXPECT_FALSE(isHdf5FileName(name)) << name;
    }
}

TEST(RecordOption, RecordsEveryTickFromStartUpUntilTheWindowIsClosed) {
    const ScratchFolder folder;
    const std::string file = folder.path("stand.csv");
    EXPECT_EQ(runProgramUntil({"--record", file}, 400, closeTheWindow), 0);
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 7u) << "the header, the column names and at least one row";
    EXPECT_THAT(lines[0], StartsWith("# Zelbrin recording, started"));
    EXPECT_THAT(lines[5], StartsWith("time_s,"));
    EXPECT_EQ(lines.back().back(), '0') << "the last row is whole: " << lines.back();
}

} // namespace
} // namespace zelbrin
