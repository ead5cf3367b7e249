// Ctrl-C and SIGTERM in real time: the tool ends cleanly, its file is whole and exact, and
// the journal shows every task it created stopped and released.  A killed tool leaves
// the samples up to its last second.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <sstream>
#include <thread>

using testing::HasSubstr;

namespace {

// The text between `key` and the next `end` in a journal line.
std::string field(const std::string &line, const std::string &key, char end) {
    const auto start = line.find(key);
    if (start == std::string::npos) {
        return "";
    }
    const auto from = start + key.size();
    return line.substr(from, line.find(end, from) - from);
}

// Tasks created and not cleared, by the journal's handle numbers.
std::map<std::string, std::string> tasksLeft(const std::string &journal) {
    std::map<std::string, std::string> left;
    std::istringstream lines(journal);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.ends_with(") = 0")) {
            continue;
        }
        if (line.starts_with("DAQmxCreateTask(")) {
            left[field(line, "taskHandle=", ')')] = field(line, "taskName=\"", '"');
        } else if (line.starts_with("DAQmxClearTask(")) {
            left.erase(field(line, "task=", ')'));
        }
    }
    return left;
}

TEST(RealTime, CtrlCLeavesAWholeExactFileAndNoTask) {
    ScratchFolder folder;
    ToolProcess tool({"--journal", folder.file("journal"), "ai", "acquire", "2", "--rate", "10000",
                      "--duration", "60", "-o", folder.file("ai2.csv")});
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    tool.signal(SIGINT);
    const ToolResult result = tool.finish();
    EXPECT_EQ(result.status, 0) << result.err;

    std::istringstream lines(readFile(folder.file("ai2.csv")));
    std::string line;
    std::size_t samples = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("#") || line == "sample,volts") {
            continue;
        }
        ASSERT_TRUE(line.starts_with(std::to_string(samples) + ",")) << line;
        ++samples;
    }
    EXPECT_GT(samples, 1000u);
    EXPECT_LT(samples, 600000u);
    EXPECT_THAT(result.err, HasSubstr("stopped after " + std::to_string(samples) + " samples"));
    const std::string journal = readFile(folder.file("journal"));
    EXPECT_THAT(journal, HasSubstr("DAQmxStopTask"));
    EXPECT_TRUE(tasksLeft(journal).empty());
}

// The numbered samples of a CSV file's whole lines, checked to follow 0, 1, 2, ...; a
// kill in the middle of a write may leave part of a last line, which does not count.
std::size_t wholeSamples(const std::string &csv) {
    std::istringstream lines(csv.substr(0, csv.rfind('\n') + 1));
    std::string line;
    std::size_t samples = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("#") || line == "sample,volts") {
            continue;
        }
        EXPECT_TRUE(line.starts_with(std::to_string(samples) + ",")) << line;
        ++samples;
    }
    return samples;
}

// An acquisition reaches its file as it goes, so `tail -f` follows it and a killed tool
// (SIGKILL, or a power cut) loses at most the last second of board time.
TEST(RealTime, AFileFollowsTheBoardAndOutlivesAKill) {
    using Clock = std::chrono::steady_clock;
    ScratchFolder folder;
    const std::string path = folder.file("ai2.csv");
    // A board of its own: on the machine's shared one another test may hold the inputs.
    writeFile(folder.file("bench.json"), R"({ "private": true })");
    constexpr double rate = 200.0;
    std::size_t seen = 0;
    {
        ToolProcess tool({"--bench", folder.file("bench.json"), "ai", "acquire", "2", "--rate",
                          "200", "--duration", "60", "-o", path});
        // The first sample shows no earlier than the board's time 0.
        const auto giveUp = Clock::now() + std::chrono::seconds(10);
        while (wholeSamples(readFile(path)) == 0 && Clock::now() < giveUp) {
            const std::optional<ToolResult> ended = tool.finishWithin(0.02);
            ASSERT_FALSE(ended) << ended->err;
        }
        const auto firstSeen = Clock::now();
        ASSERT_LT(firstSeen, giveUp) << "no sample reached the file in 10 s";
        std::this_thread::sleep_for(std::chrono::seconds(3));
        seen = wholeSamples(readFile(path));
        const double boardTime = std::chrono::duration<double>(Clock::now() - firstSeen).count();
        EXPECT_GE(static_cast<double>(seen), (boardTime - 1.0) * rate);
    } // killed here, without a chance to flush anything
    EXPECT_GE(wholeSamples(readFile(path)), seen);
}

// A scan ends on Ctrl-C as a single channel does: every line a whole scan of four
// channels, the count per channel exact, the scan's task released.
TEST(RealTime, CtrlCEndsAScanWithWholeScans) {
    ScratchFolder folder;
    writeFile(folder.file("bench.json"), R"({ "private": true })");
    ToolProcess tool({"--bench", folder.file("bench.json"), "--journal", folder.file("journal"),
                      "ai", "acquire", "ai0:3", "--rate", "10000", "--duration", "60", "-o",
                      folder.file("scan.csv")});
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    tool.signal(SIGINT);
    const ToolResult result = tool.finish();
    EXPECT_EQ(result.status, 0) << result.err;

    std::istringstream lines(readFile(folder.file("scan.csv")));
    std::string line;
    std::size_t scans = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("#") || line.starts_with("sample,")) {
            continue;
        }
        ASSERT_TRUE(line.starts_with(std::to_string(scans) + ",")) << line;
        ASSERT_EQ(std::count(line.begin(), line.end(), ','), 4) << line;
        ++scans;
    }
    EXPECT_GT(scans, 1000u);
    EXPECT_THAT(result.err,
                HasSubstr("stopped after " + std::to_string(scans) + " samples per channel"));
    EXPECT_TRUE(tasksLeft(readFile(folder.file("journal"))).empty());
}

TEST(RealTime, SigtermEndsAGenerationAndReleasesItsTask) {
    ScratchFolder folder;
    ToolProcess tool({"--journal", folder.file("journal"), "ao", "generate", "0", "--rate", "1000",
                      "--sine", "10,1"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    tool.signal(SIGTERM);
    EXPECT_EQ(tool.finish().status, 0);
    const std::string journal = readFile(folder.file("journal"));
    EXPECT_THAT(journal, HasSubstr("DAQmxWriteAnalogF64"));
    EXPECT_THAT(journal, HasSubstr("DAQmxStopTask"));
    EXPECT_TRUE(tasksLeft(journal).empty());
}

} // namespace
