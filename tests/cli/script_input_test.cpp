// What `run` and `ao generate --file` read: quoted words, scripts that run scripts, and
// inputs without end or beyond bounds, which end with a message instead of eating memory
// or hanging.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using testing::AllOf;
using testing::HasSubstr;

namespace {

// Long enough for any run that works; far too short for one that hangs.
constexpr double patience = 20.0;

ToolResult runOnBench(const std::vector<std::string> &args, const std::string &input = "") {
    std::vector<std::string> line = {"--bench", virtualBench()};
    line.insert(line.end(), args.begin(), args.end());
    const std::optional<ToolResult> result = runToolWithin(patience, line, input);
    if (!result) {
        ADD_FAILURE() << "the tool did not end within " << patience << " s";
        return {};
    }
    return *result;
}

void expectRefused(const ToolResult &result, const std::string &message) {
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_THAT(result.err, HasSubstr(message));
}

std::vector<std::string> generateFrom(const std::string &waveFile) {
    return {"ao", "generate", "0", "--rate", "1000", "--file", waveFile};
}

TEST(ScriptInput, QuotedWordsKeepTheirBlanksAndHashes) {
    ScratchFolder folder;
    const std::string spaced = folder.file("my data #1.csv");
    const std::string joined = folder.file("it's.csv");
    const ToolResult result =
        runOnBench({"run", "-"}, "ai acquire 5 --rate 1000 --samples 1 -o \"" + spaced +
                                     "\"  # a comment\n"
                                     "ai acquire 5 --rate 1000 --samples 1 --output=\"" +
                                     joined + "\"\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(readFile(spaced), HasSubstr("\n0,1.250000\n"));
    EXPECT_THAT(readFile(joined), HasSubstr("\n0,1.250000\n"));

    const ToolResult unclosed = runOnBench({"run", "-"}, "ai read 5\nai read '5\n");
    EXPECT_EQ(unclosed.status, 2);
    EXPECT_EQ(unclosed.out, "1.250000\n");
    EXPECT_THAT(unclosed.err, AllOf(HasSubstr("the quote ' at column 9 is not closed"),
                                    HasSubstr("standard input:2: this line failed")));
}

TEST(ScriptInput, ScriptsRunScriptsButNotWithoutEnd) {
    ScratchFolder folder;
    writeFile(folder.file("inner"), "ai read 5\n");
    writeFile(folder.file("outer"), "run " + folder.file("inner") + "\nai read 5\n");
    const ToolResult nested = runOnBench({"run", folder.file("outer")});
    EXPECT_EQ(nested.status, 0) << nested.err;
    EXPECT_EQ(nested.out, "1.250000\n1.250000\n");

    const std::string itself = folder.file("itself");
    writeFile(itself, "ai read 5\nrun " + itself + "\n");
    const ToolResult endless = runOnBench({"run", itself});
    expectRefused(endless, "scripts run scripts more than 8 deep; does one run itself?");
    std::string everyLevelRead;
    for (int level = 0; level < 8; ++level) {
        everyLevelRead += "1.250000\n";
    }
    EXPECT_EQ(endless.out, everyLevelRead);
}

TEST(ScriptInput, InputsThatAreNoRegularFileAreRefused) {
    ScratchFolder folder;
    std::vector<std::string> notFiles = {folder.file("")};
#ifndef _WIN32
    // A FIFO that nobody writes to would keep an open() waiting for ever.
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    notFiles.push_back(fifo);
    notFiles.push_back("/dev/null");
#endif
    for (const std::string &path : notFiles) {
        expectRefused(runOnBench({"run", path}), "cannot read script " + path + ": not a regular");
        expectRefused(runOnBench(generateFrom(path)),
                      "cannot read wave file " + path + ": not a regular");
    }
}

TEST(ScriptInput, LinesAndInputsBeyondTheirBoundsAreRefused) {
    ScratchFolder folder;
    const std::string endlessLine(std::size_t{1} << 20 | 1, '0');
    writeFile(folder.file("long"), "ai read 5\n" + endlessLine);
    expectRefused(runOnBench({"run", folder.file("long")}),
                  folder.file("long") + ":2: the line is longer than 1 MiB");
    expectRefused(runOnBench({"run", "-"}, endlessLine),
                  "standard input:1: the line is longer than 1 MiB");
    expectRefused(runOnBench({"run", "-"}, std::string(std::size_t{32} << 20 | 1, '\n')),
                  "standard input:33554433: the script is longer than 32 MiB");
    writeFile(folder.file("long wave"), "0\n" + endlessLine);
    expectRefused(runOnBench(generateFrom(folder.file("long wave"))),
                  folder.file("long wave") + ":2: the line is longer than 1 MiB");

    std::string volts;
    for (int k = 0; k < 1000001; ++k) {
        volts += "0\n";
    }
    writeFile(folder.file("volts"), volts);
    expectRefused(runOnBench(generateFrom(folder.file("volts"))),
                  folder.file("volts") + ":1000001: more than 1000000 voltages");
}

// A line of a megabyte, half a million words, is split in one pass: once each word
// copied what followed it, which took minutes.  The refusal quotes only the start of it.
TEST(ScriptInput, AMegabyteLineIsParsedAtOnceAndEchoedInPart) {
    std::string words = "ai read 5";
    while (words.size() < (std::size_t{1} << 20) - 2) {
        words += " x";
    }
    // A liveness bound, generous for a loaded machine and the sanitizers; how fast the split
    // is, and that it grows linearly, is shown by bench/cli's splitScriptLine.
    const std::optional<ToolResult> result =
        runToolWithin(60.0, {"--bench", virtualBench(), "run", "-"}, words + "\n");
    ASSERT_TRUE(result) << "the line was not parsed within 60 s";
    EXPECT_EQ(result->status, 2);
    EXPECT_THAT(result->err, AllOf(HasSubstr("not expected: x x x"), HasSubstr("\xE2\x80\xA6")));
    EXPECT_LT(result->err.size(), 400u) << result->err.substr(0, 400);
}

} // namespace
