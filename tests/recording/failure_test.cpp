// A recorder that runs out of room, or whose directory turns read-only, stops with the
// system's reason and the file's name, and leaves files that open and hold what was
// flushed.  The recorder runs as a process of its own (recording_writer), so that its
// file size limit or its user is its alone.
#include "recording_reader.h"
#include "synthetic_recording.h"
#include "temporary_directory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

struct Outcome {
    int status = -1;
    std::string errors;
};

// Runs a shell command line with the writer's standard error caught.
Outcome run(const std::string &command, const TemporaryDirectory &scratch) {
    const std::string errors = scratch.path() + "/errors.txt";
    const int status = std::system((command + " >/dev/null 2>" + errors).c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream text;
    text << std::ifstream(errors).rdbuf();
    outcome.errors = text.str();
    return outcome;
}

// The file's samples are the synthetic signal's first ones; returns how many.
std::int64_t expectSyntheticPrefix(const std::string &file, std::int64_t first) {
    const ReadRecording read = readRecording(file);
    int wrong = 0;
    for (std::int64_t n = 0; n < read.rows; ++n) {
        for (int k = 0; k < read.columns; ++k) {
            wrong += read.at(n, k) != static_cast<float>(synthetic::volts(first + n, k));
        }
    }
    EXPECT_EQ(wrong, 0) << file;
    return read.rows;
}

TEST(RecordingFailure, AFullDiskStopsWithTheReasonAndAFileThatOpens) {
    TemporaryDirectory recording;
    TemporaryDirectory scratch;
    // bash counts the limit in KiB; an ignored SIGXFSZ stays ignored across exec, so the
    // writes fail with EFBIG as on a full disk instead of killing the writer.
    const Outcome outcome =
        run("bash -c 'ulimit -f 4096; trap \"\" XFSZ; exec " RECORDING_WRITER " " +
                recording.path() + " --rate 10000 --seconds 60'",
            scratch);
    EXPECT_EQ(outcome.status, 1);
    ASSERT_EQ(recording.files().size(), 1u);
    const std::string file = recording.files()[0];
    EXPECT_NE(outcome.errors.find("cannot"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find(file + ": File too large"), std::string::npos) << outcome.errors;
    // 4 MiB hold about 26 s of four float channels at 10 kS/s, less the room kept free.
    EXPECT_GT(expectSyntheticPrefix(file, 0), 150000);
}

TEST(RecordingFailure, ADirectoryTurnedReadOnlyEndsAtTheNextFileWithBothFilesWhole) {
    TemporaryDirectory recording;
    TemporaryDirectory scratch;
    std::string command = RECORDING_WRITER " " + recording.path() +
                          " --seconds 5 --rotate 1 --lock-directory-after 1.5";
    // Root writes anywhere: the writer runs as nobody, in a directory of its own.
    if (geteuid() == 0) {
        if (chown(recording.path().c_str(), 65534, 65534) != 0 ||
            std::system("command -v setpriv >/dev/null") != 0) {
            GTEST_SKIP() << "needs setpriv to run the writer as another user";
        }
        command = "setpriv --reuid=65534 --regid=65534 --clear-groups " + command;
    }
    const Outcome outcome = run(command, scratch);
    // 127: the program could not even start as that user, as where the build's folders or
    // libraries are closed to other users.
    if (geteuid() == 0 && outcome.status == 127) {
        GTEST_SKIP() << "the writer cannot start as another user here: " << outcome.errors;
    }
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.errors.find("cannot make " + recording.path() + "/run-20240501T120002"),
              std::string::npos)
        << outcome.errors;
    EXPECT_NE(outcome.errors.find("Permission denied"), std::string::npos) << outcome.errors;
    const std::vector<std::string> files = recording.files();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(expectSyntheticPrefix(files[0], 0), 1000);
    EXPECT_EQ(expectSyntheticPrefix(files[1], 1000), 1000);
    EXPECT_EQ(readRecording(files[1]).events.back().kind, "rotation");
}

} // namespace
