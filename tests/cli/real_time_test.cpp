// Ctrl-C and SIGTERM in real time: the tool ends cleanly, its file is whole and exact, and
// the journal shows every task it created stopped and released.
#include "tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
